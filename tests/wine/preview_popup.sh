#!/usr/bin/env bash
# "/p" with no usable host: a handle that names no window ends the saver at
# once without drawing anything; no handle at all (or 0) opens a top-most
# popup of half the screen that a key ends, after the password gate.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24
cp "$FIXTURE_BIN/PASSWORD.CPL" "$APP/"

# Ends at once, exit 0, and never shows a saver window.
for handle in 999999 -5; do
  expect_ends_at_once_without_window MySaver "'/p $handle' (no such window)" /p "$handle"
done

for argument in "" 0; do
  start_saver /p $argument
  wait_foreground MySaver || fail "'/p $argument' opened no popup (or it never took the foreground)"
  sleep 1
  popup=$(probe window MySaver)
  echo "$popup"
  check "'/p $argument' popup has the preview's class" grep -q 'class=MyVantorScreenSaverClass ' <<<"$popup"
  check "it is half the screen each way, in the top-left corner" [ "$(field rect "$popup")" = 0,0,320,240 ]
  check "it is visible and top-most" grep -q 'visible=1 .*topmost=1' <<<"$popup"
  expect_repainting "it keeps repainting" "$HARNESS_DIR/popup1.png" root 1000
  check "it leaves the screen-saver flag alone" [ "$(probe flag)" = running=0 ]
  xdotool mousemove 50 50
  sleep 0.2
  xdotool mousemove 250 200 click 1
  expect_running "mouse jumps and clicks do not end the popup" 0.5
  xdotool key a
  # Under Wine a window that repaints without pause gets its keys late (about
  # 0.6 s here; the process itself ends within 30 ms of the key's arrival).
  expect_exit_within "a key ends the popup" 2
done

# With a password in force the key passes the gate first, with no owner.
set_desktop_value ScreenSaveUsePassword REG_DWORD 1
echo refuse >"$FIXTURE/answer"
start_saver /p
wait_foreground MySaver || fail "no popup (or it never took the foreground)"
sleep 1
xdotool key a
check "a key asks the dialog once" wait_calls 1
expect_running "a refused password keeps the popup running" 0.5
check "with no owner window" grep -q '^owner=0 ' "$FIXTURE/verify.log"
echo accept >"$FIXTURE/answer"
xdotool key a
expect_exit_within "an accepted password ends the popup" 2
