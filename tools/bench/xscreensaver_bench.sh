#!/usr/bin/env bash
# Measures the X11 saver under the real XScreenSaver on a private Xvfb display
# at 1920x1080: activation to the first frame covering the screen, and
# deactivation to the process gone (medians of RUNS activations), activation
# to the saver's process started (the daemon's share), the same
# first frame with the saver started by hand (its own share), then frames
# per second, CPU seconds per second and wake-ups per second while it draws
# and while the daemon's window is unmapped. Frames are the saver's ppoll
# calls, one per frame while nothing comes in on its display connection,
# counted by strace.
# usage: xscreensaver_bench.sh [saver, default build/native/src/app/rimeglass] [runs, default 5]
top=$(cd "$(dirname "$0")/../.." && pwd)
saver=$(realpath "${1:-$top/build/native/src/app/rimeglass}")
runs=${2:-5}
source "$top/scripts/harness.sh"
source "$top/scripts/harness_x11.sh"
harness_init xscreensaver-bench
x11_init "$saver"
start_xvfb 1920x1080x24
start_xscreensaver "$SAVER" || fail "XScreenSaver did not answer"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for _ in $(seq "$runs"); do
  probe cover-time 10 "${DAEMON_USER[@]}" xscreensaver-command -activate >>"$HARNESS_DIR/first_frame"
  sleep 1
  pid=$(saver_pids)
  start=$(now_ms)
  as_daemon_user xscreensaver-command -deactivate >/dev/null 2>&1
  wait_for 5 gone "$pid"
  echo $(($(now_ms) - start)) >>"$HARNESS_DIR/gone"
  sleep 0.5
done
# The daemon's share: activation until the saver's process exists.
saver_started() { [ -n "$(saver_pids)" ]; }
for _ in $(seq "$runs"); do
  start=$(now_ms)
  as_daemon_user xscreensaver-command -activate >/dev/null 2>&1 &
  command_pid=$!
  wait_for 10 saver_started
  echo $(($(now_ms) - start)) >>"$HARNESS_DIR/started"
  wait "$command_pid"
  sleep 1
  pid=$(saver_pids)
  as_daemon_user xscreensaver-command -deactivate >/dev/null 2>&1
  wait_for 5 gone "$pid"
  sleep 0.5
done
# The saver's own share: started by hand on the same display, no daemon.
for _ in $(seq "$runs"); do
  probe cover-time 10 sh -c "DISPLAY=$DISPLAY $SAVER $DAEMON_SAVER_ARGS >/dev/null 2>&1 &" >>"$HARNESS_DIR/alone"
  pid=$(saver_pids)
  kill "$pid"
  wait_for 5 gone "$pid"
done
echo "saver started by hand -> first frame covering the screen, ms: $(tr '\n' ' ' <"$HARNESS_DIR/alone")(median $(median <"$HARNESS_DIR/alone"))"
echo "activation -> saver process started, ms: $(tr '\n' ' ' <"$HARNESS_DIR/started")(median $(median <"$HARNESS_DIR/started"))"
echo "activation -> first frame covering the screen, ms: $(tr '\n' ' ' <"$HARNESS_DIR/first_frame")(median $(median <"$HARNESS_DIR/first_frame"))"
echo "deactivation -> saver process gone, ms: $(tr '\n' ' ' <"$HARNESS_DIR/gone")(median $(median <"$HARNESS_DIR/gone"))"

as_daemon_user xscreensaver-command -activate >/dev/null 2>&1
wait_for 10 saver_started
sleep 2
pid=$(saver_pids)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Wake-ups: the sleeps that ended, in every thread (the GL driver's too).
wakeups() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
# measure WHAT: CPU and wake-ups over 5 s, then frames over 5 more under
# strace, whose stops would count as wake-ups.
measure() {
  local ticks_before wakeups_before frames
  ticks_before=$(ticks "$pid") wakeups_before=$(wakeups "$pid")
  sleep 5
  local cpu=$(($(ticks "$pid") - ticks_before)) woke=$(($(wakeups "$pid") - wakeups_before))
  # timeout ends strace, which then prints its count, and reports 124.
  frames=$(timeout -s INT 5 strace -c -e trace=ppoll -p "$pid" 2>&1 |
    awk '$NF == "ppoll" { print $4 }') || true
  awk -v what="$1" -v frames="${frames:-0}" -v cpu="$cpu" -v hz="$(getconf CLK_TCK)" -v woke="$woke" \
    'BEGIN { printf "1920x1080 %s: %d frames per second, CPU %.3f s per second, %.1f wake-ups per second\n",
             what, frames / 5, cpu / hz / 5, woke / 5 }'
}
measure "drawing"
window=$(daemon_window "$pid")
xdotool windowunmap "$window"
sleep 1  # the frame under way when it went ends first
measure "with its window unmapped"
xdotool windowmap "$window"
