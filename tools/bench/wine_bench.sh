#!/usr/bin/env bash
# Measures the Windows build under Wine on a 1920x1080 Xvfb display. First
# rimeglass-bench.exe: the scene benchmark with MinGW's runtime. Then the real
# Rimeglass.scr full screen: start to first frame presented (warm Wine
# server), frames per second against the 10 ms pace, CPU seconds per second,
# peak memory, and a key press to the process having ended (inside a Wine
# virtual desktop, where Wine destroys windows in milliseconds).
# usage: wine_bench.sh [windows build dir] [seconds] [bench frames]
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$top/build/windows}")
seconds=${2:-10}
bench_frames=${3:-500}
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
process_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
swap_times() { sed -n 's/^\([0-9.]*\):.*glxdrv_wglSwapBuffers.*/\1/p' "$HARNESS_DIR/trace.log"; }

start_ns=$(date +%s%N)
(cd "$APP" && WINEDEBUG="-all,+timestamp,trace+wgl" exec wine Rimeglass.scr /s) >"$HARNESS_DIR/trace.log" 2>&1 &
SAVER_PID=$!
first_ms=""
for _ in $(seq 2000); do
  if grep -q glxdrv_wglSwapBuffers "$HARNESS_DIR/trace.log"; then
    first_ms=$((($(date +%s%N) - start_ns) / 1000000))
    break
  fi
  sleep 0.002
done
[ -n "$first_ms" ] || fail "no frame was presented"

saver=$(saver_process) || fail "saver process not found (launcher $SAVER_PID)"

sleep 2  # past start-up
ticks0=$(process_ticks "$saver")
frames0=$(swap_times | wc -l)
t0=$(date +%s%N)
sleep "$seconds"
ticks1=$(process_ticks "$saver")
t1=$(date +%s%N)
window=$(swap_times | tail -n +"$((frames0 + 1))")
peak_kb=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$saver/status")

xdotool key space
key_ns=$(date +%s%N)
while saver_running; do sleep 0.001; done
exit_ms=$((($(date +%s%N) - key_ns) / 1000000))
wait "$SAVER_PID" || true
SAVER_PID=""

awk -v first="$first_ms" -v ticks="$((ticks1 - ticks0))" -v hz="$clock_ticks" \
    -v wall="$(((t1 - t0) / 1000))" -v peak="$peak_kb" -v exit_ms="$exit_ms" '
  NR == 1 { start = $1 } { last = $1; n++ }
  END {
    fps = n > 1 ? (n - 1) / (last - start) : 0
    printf "Rimeglass.scr /s under Wine, 1920x1080:\n"
    printf "  start to first frame presented   %6d ms\n", first
    printf "  frames per second                %6.1f (pace: 100)\n", fps
    printf "  CPU seconds per second           %6.2f\n", ticks / hz / (wall / 1e6)
    printf "  peak memory (resident)           %6.1f MB\n", peak / 1024
    printf "  key press to process ended       %6d ms\n", exit_ms
  }' <<<"$window"
