#!/usr/bin/env bash
# The saver under the real XScreenSaver daemon: activation runs it in the
# daemon's window, where it shows the mesh to every edge and keeps changing
# without being relaunched; deactivation and cycling end it within 0.5 s;
# -exit ends the daemon. The daemon refuses to run savers as root, so as root
# it runs as nobody, with a HOME that account owns.
source "$(dirname "$0")/x11_test_lib.sh"
start_xvfb 1024x768x24
PROGRAM=${XSCREENSAVER_PROGRAM:-$SAVER}
EXECUTABLE=$SAVER
[ -n "${XSCREENSAVER_PROGRAM:-}" ] && EXECUTABLE=$RIMEGLASS
harness_at_exit '[ "$HARNESS_STATUS" -eq 0 ] || tail -20 "$HARNESS_DIR/xscreensaver.log"'
check "the daemon answers" start_xscreensaver "$PROGRAM"

# The saver the daemon runs: the program its programs line names, which is
# this test's copy, or with XSCREENSAVER_PROGRAM=rimeglass the installed
# package's, found on the daemon's own search path.
one_saver() {
  SAVER_PID=$(pgrep -f "^$PROGRAM $DAEMON_SAVER_ARGS\$")
  [ -n "$SAVER_PID" ] && [ "$(wc -l <<<"$SAVER_PID")" -eq 1 ]
}
activate() {
  daemon_command -activate && wait_for 10 one_saver || return 1
  WINDOW=$(daemon_window "$SAVER_PID")
  [ "$(readlink "/proc/$SAVER_PID/exe")" = "$EXECUTABLE" ] && [ -n "$WINDOW" ] &&
    wait_for 10 probe covered "$WINDOW" >/dev/null
}
check "activation runs $EXECUTABLE in the daemon's window, showing the mesh to every edge" activate
echo "saver $SAVER_PID in window $WINDOW"
check "the picture changes between frames" probe changes "$WINDOW"
first=$SAVER_PID
sleep 2
check "not relaunched while active" test "$(pgrep -f "^$PROGRAM $DAEMON_SAVER_ARGS\$")" = "$first"

ended_within() {  # EXIT_LIMIT_MS after COMMAND is given, the saver PID is gone
  local pid=$1 start
  shift
  start=$(now_ms)
  daemon_command "$@" && wait_for 2 gone "$pid" || return 1
  local elapsed=$(($(now_ms) - start))
  echo "  $* -> saver gone after $elapsed ms"
  [ "$elapsed" -le "$EXIT_LIMIT_MS" ]
}
check "-deactivate ends the saver within $EXIT_LIMIT_MS ms" ended_within "$first" -deactivate

check "a second activation runs the saver again" activate
second=$SAVER_PID
check "-cycle ends the old saver within $EXIT_LIMIT_MS ms" ended_within "$second" -cycle
check "and starts a new one" wait_for 10 one_saver
check "-exit ends the daemon and its saver" daemon_command -exit
check "  the daemon" wait_for 5 gone "$DAEMON"
check "  the saver" wait_for 5 gone "$SAVER_PID"
