# Sourced by the X11 saver's end-to-end tests: the harness, with the saver
# copied into the work folder and a private HOME.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness_x11.sh"
: "${RIMEGLASS:?RIMEGLASS names the saver to test}"
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
harness_init x11
x11_init "$RIMEGLASS"

# The exit status of our child PID once it ends within SECONDS; 124 when it
# does not, after which it is killed.
status_within() {
  if ! wait_for "$2" gone "$1"; then
    kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 124
  fi
  wait "$1"
}
