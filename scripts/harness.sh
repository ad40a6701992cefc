# Sourced by every end-to-end test, by the benchmarks and by scripts/run: a
# private work folder, the display servers they run on, and one clean-up that
# ends everything they started and removes the folder, however they end.
set -euo pipefail

HARNESS_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
HARNESS_PIDS=()
HARNESS_AT_EXIT=()
# As root, daemons and the compositor run as nobody: XScreenSaver refuses to
# run savers as root, and nothing else here needs it.
HARNESS_USER=()
[ "$(id -u)" -eq 0 ] && HARNESS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# How soon a saver must be gone after input or a stop. 0.5 s is the shipped
# build's promise; a sanitized debug build may be given longer.
EXIT_LIMIT_MS=${EXIT_LIMIT_MS:-500}

# harness_init NAME: a fresh work folder in HARNESS_DIR, cleaned up on exit.
harness_init() {
  HARNESS_DIR=$(mktemp -d "${TMPDIR:-/tmp}/rimeglass-$1.XXXXXX")
  # Open to the unprivileged account, which runs programs copied in here.
  chmod 755 "$HARNESS_DIR"
  export HARNESS_DIR
  trap harness_cleanup EXIT
  # set -e ends a script at a command that fails outside a check: say which.
  trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# harness_track PID: ended (TERM, then KILL) at clean-up, last started first.
harness_track() { HARNESS_PIDS+=("$1"); }

# harness_at_exit COMMAND: run at clean-up before the processes are ended,
# last registered first; for what a PID cannot name (Wine's server, the
# savers a daemon started). HARNESS_STATUS is then the exit status.
harness_at_exit() { HARNESS_AT_EXIT+=("$*"); }

harness_cleanup() {
  HARNESS_STATUS=$?
  local i pid
  # A failure here must not cut the rest short.
  set +e
  for ((i = ${#HARNESS_AT_EXIT[@]} - 1; i >= 0; i--)); do eval "${HARNESS_AT_EXIT[i]}"; done
  for ((i = ${#HARNESS_PIDS[@]} - 1; i >= 0; i--)); do kill "${HARNESS_PIDS[i]}" 2>/dev/null; done
  wait_for 5 all_gone "${HARNESS_PIDS[@]}"
  for pid in "${HARNESS_PIDS[@]}"; do
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$HARNESS_DIR"
  exit "$HARNESS_STATUS"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# check WHAT COMMAND...: "ok: WHAT" when COMMAND succeeds; the test fails at
# the first check that does not.
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

now_ms() {
  local us=${EPOCHREALTIME//[^0-9]/}
  echo $((us / 1000))
}

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds; 1 on timeout.
wait_for() {
  local deadline
  deadline=$(($(now_ms) + $(awk -v s="$1" 'BEGIN { print int(s * 1000) }')))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.01
  done
}

# Exited: no process, or a zombie its parent has not reaped yet.
gone() { [ ! -e "/proc/$1" ] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }
all_gone() {
  local pid
  for pid in "$@"; do gone "$pid" || return 1; done
}

# An X server started with -displayfd 3 3>FILE: waits for its display number
# in FILE and for the server to answer, then exports DISPLAY.
use_display_from() {
  wait_for 20 test -s "$1" || return 1
  export DISPLAY=":$(head -n1 "$1")"
  rm "$1"
  wait_for 10 xdpyinfo >/dev/null 2>&1
}

# start_xvfb [WxHxD] [Xvfb options...]: Xvfb on a free display, its root
# black so that only what a test draws colours it, and never reset: a server
# that resets when its last client leaves refuses the next one for a moment.
# XSERVER_PID is the server.
start_xvfb() {
  local number="$HARNESS_DIR/display.$RANDOM"
  Xvfb -displayfd 3 -screen 0 "${1:-1280x720x24}" -br -noreset -nolisten tcp "${@:2}" 3>"$number" \
    2>>"$HARNESS_DIR/xvfb.log" &
  XSERVER_PID=$!
  harness_track "$XSERVER_PID"
  use_display_from "$number" || { cat "$HARNESS_DIR/xvfb.log" >&2; fail "Xvfb did not start"; }
}

# Xorg with the dummy video driver, which has as many RandR outputs as its
# configuration names (Xvfb has one): 1280x720, the primary, at 0,0 and
# 1024x768 at 1280,0. The strip below the primary, 1280x48, belongs to no
# monitor.
start_xorg_dummy() {
  local dir="$HARNESS_DIR/xorg"
  mkdir -p "$dir/conf.d"
  # Xorg wants its configuration folder to exist and to hold a file.
  echo '# nothing here' >"$dir/conf.d/empty.conf"
  cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "BlankTime" "0"
  Option "StandbyTime" "0"
  Option "SuspendTime" "0"
  Option "OffTime" "0"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "primary"
  Option "Monitor-DUMMY1" "second"
EndSection
Section "Monitor"
  Identifier "primary"
  Modeline "1280x720" 74.25 1280 1390 1430 1650 720 725 730 750
  Option "PreferredMode" "1280x720"
  Option "Position" "0 0"
  Option "Primary" "true"
EndSection
Section "Monitor"
  Identifier "second"
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806
  Option "PreferredMode" "1024x768"
  Option "Position" "1280 0"
  Option "Enable" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "primary"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2304 768
  EndSubSection
EndSection
CONF
  Xorg -config "$dir/xorg.conf" -configdir "$dir/conf.d" -logfile "$dir/xorg.log" \
    -noreset -nolisten tcp -displayfd 3 3>"$dir/display" >"$dir/xorg.out" 2>&1 &
  XSERVER_PID=$!
  harness_track "$XSERVER_PID"
  use_display_from "$dir/display" || { cat "$dir/xorg.out" >&2; fail "Xorg did not start"; }
}

# pixel_at IMAGE X Y: the pixel's colour as "R G B", 0-255 each.
pixel_at() {
  local r g b
  read -r r g b < <(convert "$1[1x1+$2+$3]" -depth 8 rgb:- | od -An -tu1)
  echo "$r $g $b"
}
