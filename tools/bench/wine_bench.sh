#!/usr/bin/env bash
# Measures the Windows build under Wine on a 1920x1080 Xvfb display. First
# rimeglass-bench.exe: the scene benchmark with MinGW's runtime. Then the real
# Rimeglass.scr full screen: start to first frame presented (warm Wine
# server), frames per second against the 10 ms pace, CPU seconds per second,
# peak memory, and a key press to the process having ended (inside a Wine
# virtual desktop, where Wine destroys windows in milliseconds). Then, in
# turns within one run, CPU and wake-ups per second while drawing and while
# the display is off (the test fixture sends what Windows would). Last, side
# by side: frames per second and CPU full screen on one monitor (1280x720,
# Xvfb) and on two (1280x720 + 1024x768, Xorg's dummy driver, as the
# two-monitor test runs it), once with the second monitor's context made to
# fail (black: what the server costs without a second scene) and once with
# both drawing; in rounds, the three one after the other, since the load of
# a shared machine moves from minute to minute.
# usage: wine_bench.sh [windows build dir] [seconds] [bench frames] [rounds]
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$top/build/windows}")
seconds=${2:-10}
bench_frames=${3:-500}
rounds=${4:-3}
source "$top/scripts/harness.sh"
source "$top/scripts/harness_wine.sh"
harness_init wine-bench
wine_init
APP="$HARNESS_DIR/app"
mkdir "$APP"
cp "$build/src/app/Rimeglass.scr" "$APP/"

make_prefix 1920x1080
start_xvfb 1920x1080x24
# A warm server, as when the system starts a saver on a running desktop.
wineserver -p
(cd "$APP" && wine Rimeglass.scr /c)

echo "rimeglass-bench.exe under Wine:"
wine "$build/tools/rimeglass-bench.exe" --size 1920x1080 --frames "$bench_frames" | tr -d '\r'

clock_ticks=$(getconf CLK_TCK)
# "time device-context" of every buffer swap so far.
swap_times() {
  sed -n 's/^\([0-9.]*\):.*glxdrv_wglSwapBuffers (\([0-9a-fx]*\)).*/\1 \2/p' "$HARNESS_DIR/trace.log"
}

# Runs Rimeglass.scr /s with WGL traced, the environment given as
# NAME=value arguments added, and ends it with a key after $seconds of
# measuring past its start-up. Sets FIRST_MS, TICKS, WALL_US, PEAK_KB,
# EXIT_MS and SWAPS (the swaps of the measured stretch).
measure_saver() {
  local start_ns saver frames0 t0 t1 ticks0 key_ns
  start_ns=$(date +%s%N)
  (cd "$APP" && WINEDEBUG="-all,+timestamp,trace+wgl" exec env "$@" wine Rimeglass.scr /s) \
    >"$HARNESS_DIR/trace.log" 2>&1 &
  SAVER_PID=$!
  FIRST_MS=""
  for _ in $(seq 2000); do
    if grep -q glxdrv_wglSwapBuffers "$HARNESS_DIR/trace.log"; then
      FIRST_MS=$((($(date +%s%N) - start_ns) / 1000000))
      break
    fi
    sleep 0.002
  done
  [ -n "$FIRST_MS" ] || fail "no frame was presented"
  saver=$(saver_process) || fail "saver process not found (launcher $SAVER_PID)"

  sleep 2  # past start-up
  ticks0=$(process_ticks "$saver")
  frames0=$(swap_times | wc -l)
  t0=$(date +%s%N)
  sleep "$seconds"
  TICKS=$(($(process_ticks "$saver") - ticks0))
  t1=$(date +%s%N)
  WALL_US=$(((t1 - t0) / 1000))
  SWAPS=$(swap_times | tail -n +"$((frames0 + 1))")
  PEAK_KB=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$saver/status")

  xdotool key space
  key_ns=$(date +%s%N)
  while saver_running; do
    [ $((($(date +%s%N) - key_ns) / 1000000)) -lt 20000 ] || fail "the key did not end the saver"
    sleep 0.001
  done
  EXIT_MS=$((($(date +%s%N) - key_ns) / 1000000))
  wait "$SAVER_PID" || true
  SAVER_PID=""
}

# Frames per second of the $1-th window to swap.
frame_rate() {
  awk -v want="$1" '!($2 in first) { first[$2] = $1; order[++k] = $2 } { last[$2] = $1; n[$2]++ }
    END { d = order[want]; printf "%.1f", (n[d] > 1 ? (n[d] - 1) / (last[d] - first[d]) : 0) }' <<<"$SWAPS"
}

# The median of the numbers given, and their range in brackets, each with
# $1 decimals.
summary() {
  local decimals=$1
  shift
  printf '%s\n' "$@" | sort -g | awk -v d="$decimals" '{ v[NR] = $1 }
    END { f = "%." d "f"; printf f " [" f "-" f "]", v[int((NR + 1) / 2)], v[1], v[NR] }'
}

cpu_share() { awk -v t="$TICKS" -v hz="$clock_ticks" -v w="$WALL_US" 'BEGIN { printf "%.2f", t / hz / (w / 1e6) }'; }

measure_saver
printf "Rimeglass.scr /s under Wine, 1920x1080:\n"
printf "  start to first frame presented   %6d ms\n" "$FIRST_MS"
printf "  frames per second                %6s (pace: 100)\n" "$(frame_rate 1)"
printf "  CPU seconds per second           %6s\n" "$(cpu_share)"
printf "  peak memory (resident)           %6.1f MB\n" "$(awk -v k="$PEAK_KB" 'BEGIN { print k / 1024 }')"
printf "  key press to process ended       %6d ms\n" "$EXIT_MS"

display_power() {
  (cd "$APP" && wine "$build/tests/wine/fixtures/power_message.exe" Rimeglass display "$1") \
    >/dev/null 2>&1 || fail "the display state $1 did not reach the saver"
}
(cd "$APP" && exec wine Rimeglass.scr /s) >/dev/null 2>&1 &
SAVER_PID=$!
saver=$(saver_process) || fail "saver process not found (launcher $SAVER_PID)"
sleep 2  # past start-up
draw_cpu=() draw_wakeups=() off_cpu=() off_wakeups=()
for _ in $(seq "$rounds"); do
  process_load "$saver" "$seconds"
  draw_cpu+=("$CPU_SHARE") draw_wakeups+=("$WAKEUPS")
  display_power 0
  process_load "$saver" "$seconds"
  off_cpu+=("$CPU_SHARE") off_wakeups+=("$WAKEUPS")
  display_power 1
done
xdotool key space
wait_for 20 gone "$SAVER_PID" || fail "the key did not end the saver"
SAVER_PID=""
printf "Rimeglass.scr /s under Wine, 1920x1080, drawing and display off: median [range] of %s turns of %s s\n" \
  "$rounds" "$seconds"
printf "  %-14s %-28s %s\n" "" "CPU seconds per second" "wake-ups per second"
printf "  %-14s %-28s %s\n" "drawing" "$(summary 3 "${draw_cpu[@]}")" "$(summary 0 "${draw_wakeups[@]}")"
printf "  %-14s %-28s %s\n" "display off" "$(summary 3 "${off_cpu[@]}")" "$(summary 0 "${off_wakeups[@]}")"

# Wine's server and the X server go, before the next display starts.
stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  kill "$XSERVER_PID"
  wait "$XSERVER_PID" 2>/dev/null || true
}

# One monitor, then two: the same prefix, without a virtual desktop (which
# would be one monitor), on a bare X server as the two-monitor test has it.
stop_display
env -u DISPLAY wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
wineserver -w
one_fps=() one_cpu=() black_fps=() black_cpu=() two_fps=() two_fps2=() two_cpu=()
for _ in $(seq "$rounds"); do
  start_xvfb 1280x720x24
  measure_saver
  one_fps+=("$(frame_rate 1)") one_cpu+=("$(cpu_share)")
  stop_display

  start_xorg_dummy
  measure_saver RIMEGLASS_TEST_FAIL_GL_MONITOR=1
  black_fps+=("$(frame_rate 1)") black_cpu+=("$(cpu_share)")
  measure_saver
  two_fps+=("$(frame_rate 1)") two_fps2+=("$(frame_rate 2)") two_cpu+=("$(cpu_share)")
  stop_display
done

printf "Rimeglass.scr /s under Wine, one and two monitors: median [range] of %s rounds of %s s\n" \
  "$rounds" "$seconds"
printf "  %-40s %-20s %s\n" "" "frames per second" "CPU seconds per second"
printf "  %-40s %-20s %s\n" "1 monitor, 1280x720 (Xvfb)" "$(summary 1 "${one_fps[@]}")" \
  "$(summary 2 "${one_cpu[@]}")"
printf "  %-40s %-20s %s\n" "2 monitors (Xorg), the second black" "$(summary 1 "${black_fps[@]}")" \
  "$(summary 2 "${black_cpu[@]}")"
printf "  %-40s %-20s %s\n" "2 monitors (Xorg), both drawing: primary" "$(summary 1 "${two_fps[@]}")" \
  "$(summary 2 "${two_cpu[@]}")"
printf "  %-40s %-20s\n" "                                 second" "$(summary 1 "${two_fps2[@]}")"
