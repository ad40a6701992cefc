#!/usr/bin/env bash
# Measures the X11 saver under the real XScreenSaver on a private Xvfb display
# at 1920x1080: activation to the first frame covering the screen, and
# deactivation to the process gone (medians of RUNS activations), activation
# to the saver's process started (the daemon's share), the same
# first frame with the saver started by hand (its own share), then frames
# per second and CPU seconds per second over 5 s of running. Frames are the
# saver's ppoll calls, one per frame while nothing comes in on its display
# connection, counted by strace.
# usage: xscreensaver_bench.sh [saver, default build/native/src/linux/rimeglass] [runs, default 5]
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
export RIMEGLASS=$(realpath "${1:-$top/build/native/src/linux/rimeglass}")
runs=${2:-5}
source "$top/tests/x11/x11_test_lib.sh"
start_display 1920x1080

[ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$HOME"
printf '%s\n' 'mode: one' 'selected: 0' 'splash: False' 'fade: False' 'unfade: False' \
  'lock: False' 'dpmsEnabled: False' 'timeout: 1:00:00' 'cycle: 0' \
  "programs: GL: $SAVER --root \\n\\" >"$HOME/.xscreensaver"
as_daemon_user xscreensaver --no-splash >"$WORK/xscreensaver.log" 2>&1 &
STARTED+=($!)
wait_for 20 as_daemon_user xscreensaver-command -time >/dev/null 2>&1

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for _ in $(seq "$runs"); do
  probe cover-time 10 "${DAEMON_USER[@]}" xscreensaver-command -activate >>"$WORK/first_frame"
  sleep 1
  pid=$(saver_pids)
  start=$(now_ms)
  as_daemon_user xscreensaver-command -deactivate >/dev/null 2>&1
  wait_for 5 gone "$pid"
  echo $(($(now_ms) - start)) >>"$WORK/gone"
  sleep 0.5
done
# The daemon's share: activation until the saver's process exists.
saver_started() { [ -n "$(saver_pids)" ]; }
for _ in $(seq "$runs"); do
  start=$(now_ms)
  as_daemon_user xscreensaver-command -activate >/dev/null 2>&1 &
  command_pid=$!
  wait_for 10 saver_started
  echo $(($(now_ms) - start)) >>"$WORK/started"
  wait "$command_pid"
  sleep 1
  pid=$(saver_pids)
  as_daemon_user xscreensaver-command -deactivate >/dev/null 2>&1
  wait_for 5 gone "$pid"
  sleep 0.5
done
# The saver's own share: started by hand on the same display, no daemon.
for _ in $(seq "$runs"); do
  probe cover-time 10 sh -c "DISPLAY=$DISPLAY $SAVER --root >/dev/null 2>&1 &" >>"$WORK/alone"
  pid=$(saver_pids)
  kill "$pid"
  wait_for 5 gone "$pid"
done
echo "saver started by hand -> first frame covering the screen, ms: $(tr '\n' ' ' <"$WORK/alone")(median $(median <"$WORK/alone"))"
echo "activation -> saver process started, ms: $(tr '\n' ' ' <"$WORK/started")(median $(median <"$WORK/started"))"
echo "activation -> first frame covering the screen, ms: $(tr '\n' ' ' <"$WORK/first_frame")(median $(median <"$WORK/first_frame"))"
echo "deactivation -> saver process gone, ms: $(tr '\n' ' ' <"$WORK/gone")(median $(median <"$WORK/gone"))"

as_daemon_user xscreensaver-command -activate >/dev/null 2>&1
wait_for 10 test -n "$(saver_pids)"
sleep 2
pid=$(saver_pids)
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
before=$(ticks "$pid")
frames=$(timeout -s INT 5 strace -c -e trace=ppoll -p "$pid" 2>&1 |
  awk '$NF == "ppoll" { print $4 }')
after=$(ticks "$pid")
echo "1920x1080: $((frames / 5)) frames per second, CPU $(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz / 5 }') s per second"
