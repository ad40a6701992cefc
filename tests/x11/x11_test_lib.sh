# Shared by the X11 saver's end-to-end tests. Each test gets its own Xvfb
# display and a private HOME in a fresh folder, with the saver copied where
# an unprivileged account can run it. Every process a test starts is ended
# when it exits, pass or fail.
set -uo pipefail
: "${RIMEGLASS:?RIMEGLASS names the saver to test}"

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/rimeglass-x11.XXXXXX")
# XScreenSaver runs savers as an ordinary account: a clone under /root is
# out of its reach, this copy is not.
chmod 755 "$WORK"
mkdir "$WORK/bin" "$WORK/home"
install -m 755 "$RIMEGLASS" "$WORK/bin/rimeglass"
SAVER=$WORK/bin/rimeglass
export HOME=$WORK/home
unset XSCREENSAVER_WINDOW
STARTED=()
FAILED=0

probe() { python3 "$HERE/x11_probe.py" "$@"; }

# The savers running from this test's copy, and no one else's.
saver_pids() { pgrep -f "^$SAVER( |\$)"; }

cleanup() {
  local pid
  for pid in $(saver_pids) "${STARTED[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${STARTED[@]}"; do wait "$pid" 2>/dev/null; done
  for pid in $(saver_pids); do kill -KILL "$pid" 2>/dev/null; done
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' TERM INT HUP

# The exit status of our child PID once it ends within SECONDS; 124 when it
# does not, after which it is killed.
status_within() {
  local pid=$1
  if ! wait_for "$2" gone "$pid"; then
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 124
  fi
  wait "$pid"
}

check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILED=1; fi
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# XScreenSaver refuses to run savers as root: as root, run the daemon and its
# commands as nobody, with the private HOME (which that account must own).
# DAEMON_USER is that prefix, for programs that run a command themselves.
DAEMON_USER=()
[ "$(id -u)" -eq 0 ] && DAEMON_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$HOME")
as_daemon_user() { "${DAEMON_USER[@]}" "$@"; }

# Polls COMMAND until it succeeds or SECONDS pass.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.005
  done
}

# Exited: no process, or a zombie its parent has not reaped yet.
gone() { [ ! -e "/proc/$1" ] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }

# A display of its own, black, so nothing but the saver colours it.
start_display() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -br -nolisten tcp "${@:2}" 3>"$WORK/display.$$" \
    2>>"$WORK/xvfb.log" &
  STARTED+=($!)
  XVFB=$!
  wait_for 20 test -s "$WORK/display.$$" || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=:$(cat "$WORK/display.$$")
  rm "$WORK/display.$$"
}

# The window a daemon gave a saver, from its environment.
daemon_window() { tr '\0' '\n' <"/proc/$1/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p'; }

finish() {
  [ "$FAILED" -eq 0 ] && echo "PASS" || echo "FAILED"
  exit "$FAILED"
}
