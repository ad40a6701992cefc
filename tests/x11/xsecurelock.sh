#!/usr/bin/env bash
# The saver under the real xsecurelock: it shows the mesh in the locker's
# window; a key press starts authentication, a stand-in module accepts, the
# screen unlocks, and the saver is gone within 0.5 s of the key.
source "$(dirname "$0")/x11_test_lib.sh"
start_xvfb 1024x768x24

# xsecurelock only runs authentication modules whose names start with auth_.
printf '#!/bin/sh\nexit 0\n' >"$HARNESS_DIR/bin/auth_accept"
chmod 755 "$HARNESS_DIR/bin/auth_accept"
# xsecurelock runs its saver without arguments.
printf '#!/bin/sh\nexec %s %s\n' "$SAVER" "$DAEMON_SAVER_ARGS" >"$HARNESS_DIR/bin/saver_rimeglass"
chmod 755 "$HARNESS_DIR/bin/saver_rimeglass"
# No blanking after the default ten minutes, which would end the saver too.
XSECURELOCK_SAVER=$HARNESS_DIR/bin/saver_rimeglass XSECURELOCK_AUTH=$HARNESS_DIR/bin/auth_accept XSECURELOCK_BLANK_TIMEOUT=-1 \
  xsecurelock >"$HARNESS_DIR/xsecurelock.log" 2>&1 &
LOCKER=$!
harness_track "$LOCKER"
harness_at_exit 'cat "$HARNESS_DIR/xsecurelock.log"'

one_saver() { SAVER_PID=$(saver_pids) && [ "$(wc -l <<<"$SAVER_PID")" -eq 1 ]; }
shows_scene() {
  wait_for 10 one_saver || return 1
  WINDOW=$(daemon_window "$SAVER_PID")
  [ -n "$WINDOW" ] && wait_for 10 probe covered "$WINDOW" >/dev/null
}
check "locking runs the saver, showing the mesh to every edge of its window" shows_scene
echo "saver $SAVER_PID in window $WINDOW"

unlock() {
  local start
  start=$(now_ms)
  # Longer than the limit, so that a slow end still reports its time; what
  # each process of the lock waits in, if it does not end at all.
  xdotool key space && wait_for 5 gone "$SAVER_PID" ||
    { ps -o pid,ppid,stat,wchan:24,etime,args --ppid "$LOCKER" -p "$LOCKER,$SAVER_PID"; return 1; }
  local elapsed=$(($(now_ms) - start))
  echo "  key -> saver gone after $elapsed ms"
  [ "$elapsed" -le "$EXIT_LIMIT_MS" ]
}
check "a key press unlocks and the saver is gone within $EXIT_LIMIT_MS ms" unlock
check "xsecurelock ends, unlocked" wait_for 5 gone "$LOCKER"
check "  with status 0" wait "$LOCKER"
