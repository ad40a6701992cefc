#!/usr/bin/env bash
# The full-screen saver left running, as it is for hours on a real desk:
# every ~10 s it must still be presenting new frames (the screen differs from
# the last sample) and its resident memory must not grow once warmed up;
# at the end a key still ends it with exit code 0 and the flag off.
#   SOAK_SECONDS     how long it runs (120)
#   SOAK_GROWTH_KB   allowed growth from the 20 s sample to the last (5120)
source "$(dirname "$0")/wine_test_lib.sh"
seconds=${SOAK_SECONDS:-120}
allowed_kb=${SOAK_GROWTH_KB:-5120}
[ "$seconds" -ge 30 ] || fail "SOAK_SECONDS must be at least 30"
make_prefix 640x480
start_xvfb 640x480x24

start_saver /s
wait_foreground Rimeglass || fail "no window named Rimeglass (or it never took the foreground)"
start_ms=$(now_ms)

saver=$(saver_process) || fail "the saver's process was not found (launcher $SAVER_PID)"
rss_kb() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$saver/status"; }

capture "$HARNESS_DIR/sample-0.png"
warm_kb=""
last_kb=""
for at in $(seq 10 10 "$seconds"); do
  while [ $(($(now_ms) - start_ms)) -lt $((at * 1000)) ]; do sleep 0.2; done
  saver_running || fail "the saver ended by itself after about $at s"
  capture "$HARNESS_DIR/sample-$at.png"
  last_kb=$(rss_kb)
  [ "$at" -eq 20 ] && warm_kb=$last_kb
  echo "at ${at} s: resident ${last_kb} kB"
  pixels_differ "$HARNESS_DIR/sample-$((at - 10)).png" "$HARNESS_DIR/sample-$at.png" 10000 ||
    fail "at $at s the screen is the same as 10 s earlier: no new frames"
done
echo "ok: new frames at every sample over $seconds s"

check "the pointer stays hidden" [ "$(cursor_shown)" = 0 ]
check "the screen-saver flag stays on" [ "$(probe flag)" = running=1 ]
growth=$((last_kb - warm_kb))
check "resident memory grows by less than $allowed_kb kB after warm-up ($warm_kb -> $last_kb kB)" \
  [ "$growth" -lt "$allowed_kb" ]

xdotool key space
expect_exit_within "a key still ends it" 2
check "and the flag is off" [ "$(probe flag)" = running=0 ]
