#!/usr/bin/env bash
# Full screen as the user sees it: one borderless window named "Rimeglass"
# over the whole screen, a moving picture, no pointer, and a key (plain or
# with Alt) that ends it with exit code 0 within a second.
source "$(dirname "$0")/wine_test_lib.sh"
# The screen is the virtual desktop, deliberately neither 4:3 nor the X size.
make_prefix 720x400
start_xvfb 800x600x24

xdotool mousemove 200 200
check "the pointer is visible before the saver starts" [ "$(cursor_shown)" = 1 ]
start_saver /s
wait_foreground Rimeglass || fail "no window named Rimeglass (or it never took the foreground)"
sleep 1

window=$(probe window Rimeglass)
echo "$window"
check "Windows sees a visible window titled Rimeglass" grep -q 'found=1 class=TForm1 ' <<<"$window"
check "it covers the screen exactly" [ "$(field rect "$window")" = 0,0,720,400 ]
check "its client area is the whole screen" [ "$(field client "$window")" = 720x400 ]
check "it is visible, without caption or border, not top-most" \
  grep -q 'visible=1 caption=0 border=0 topmost=0' <<<"$window"

check "the pointer is hidden" [ "$(cursor_shown)" = 0 ]
check "the system's screen-saver flag is on" [ "$(probe flag)" = running=1 ]
check "the application's hidden window carries its title" \
  grep -q 'found=1 .* visible=0 ' <<<"$(probe window 'Rimeglass 3d screensaver')"

expect_repainting "frames change over time" "$HARNESS_DIR/frame1.png" root 10000
check "the scene is drawn (not a black screen)" brighter_than "$HARNESS_DIR/frame1.png" 0.05
# The whole screen is drawn on: every corner has lit pixels, not black.
for corner in +0+0 +696+0 +0+376 +696+376; do
  level=$(brightest "$HARNESS_DIR/frame1.png" "24x24$corner")
  check "corner $corner is drawn (brightest $level)" [ "$level" -gt 8 ]
done

xdotool key a
expect_exit_within "a key ends the saver" 1
check "the pointer shows again" [ "$(cursor_shown)" = 1 ]
check "the screen-saver flag is off again" [ "$(probe flag)" = running=0 ]

start_saver /s
wait_foreground Rimeglass || fail "no window on the second run (or it never took the foreground)"
sleep 0.5
xdotool key alt+x
expect_exit_within "a key with Alt ends the saver too" 1

# The system may close the saver itself; that ends it the same orderly way.
start_saver /s
wait_foreground Rimeglass || fail "no window on the third run (or it never took the foreground)"
sleep 0.5
check "the flag is on once more" [ "$(probe flag)" = running=1 ]
check "WM_CLOSE was posted" [ "$(probe close Rimeglass)" = closed=1 ]
expect_exit_within "closing the window from outside ends the saver" 2
check "and turns the flag off" [ "$(probe flag)" = running=0 ]
