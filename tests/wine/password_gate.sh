#!/usr/bin/env bash
# The screen-saver password gate, with a recording stand-in for the system's
# PASSWORD.CPL next to the saver. Refused: the saver keeps drawing with the
# pointer hidden and the screen-saver flag on. Accepted, after a key or a
# mouse jump: the saver ends with the flag off. Not in force, or no
# PASSWORD.CPL at all: the saver ends at once.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24
cp "$FIXTURE_BIN/PASSWORD.CPL" "$APP/"
answer() { echo "$1" >"$FIXTURE/answer"; }
last_call() { tail -n1 "$FIXTURE/verify.log"; }

start_full_screen() {
  start_saver /s
  wait_foreground Rimeglass || fail "no saver window (or it never took the foreground)"
  sleep 0.5
}

set_desktop_value ScreenSaveUsePassword REG_DWORD 1
answer refuse
start_full_screen
xdotool key a
check "a key asks the dialog once" wait_calls 1
expect_running "a refused password keeps the saver running" 0.5
first=$(last_call)
echo "$first"
check "the dialog is owned by the saver's window" grep -q 'owner_title=Rimeglass ' <<<"$first"
check "the pointer is shown for the dialog (display counter 0)" grep -q ' cursor=0 ' <<<"$first"
check "the screen-saver flag is on during the dialog" grep -q ' running=1 ' <<<"$first"
check "the pointer is hidden again after the refusal" [ "$(cursor_shown)" = 0 ]
check "the screen-saver flag stays on after the refusal" [ "$(probe flag)" = running=1 ]
expect_repainting "the saver goes on drawing" "$HARNESS_DIR/after1.png" root 10000

xdotool key b
check "a second key asks again" wait_calls 2
check "counter, flag and owner are as at the first call" [ "$(last_call)" = "$first" ]
xdotool key alt+F4
check "Alt and F4 each ask the dialog" wait_calls 4
expect_running "Alt+F4 goes through the gate too and cannot close the saver" 0.5

answer accept
xdotool key a
expect_exit_within "an accepted password ends the saver" 1
check "the screen-saver flag is off after the accepted password" [ "$(probe flag)" = running=0 ]
check "with the dialog asked once more" [ "$(calls)" -eq 5 ]

# Mouse jumps pass the same gate.
answer refuse
hold_desktop 300
pointer_to 205 200
pointer_to 200 200
start_full_screen
xdotool mousemove 300 200
check "a mouse jump asks the dialog" wait_calls 6
expect_running "a mouse jump with a refused password keeps it running" 0.5
answer accept
xdotool mousemove 400 200
expect_exit_within "a mouse jump with an accepted password ends it" 1
check "and the screen-saver flag is off" [ "$(probe flag)" = running=0 ]

# Not in force, or stored as text: "1" is on, "0" is off.
for setting in "REG_DWORD 0" "REG_SZ 0" "none"; do
  set_desktop_value ScreenSaveUsePassword $setting
  before=$(calls)
  start_full_screen
  xdotool key a
  expect_exit_within "ScreenSaveUsePassword '$setting' ends at once" 1
  check "without asking the dialog ('$setting')" [ "$(calls)" -eq "$before" ]
done
set_desktop_value ScreenSaveUsePassword REG_SZ 1
answer refuse
before=$(calls)
start_full_screen
xdotool key a
check "ScreenSaveUsePassword as text '1' puts the password in force" wait_calls $((before + 1))
expect_running "and the refusal keeps the saver running" 0.5
answer accept
xdotool key a
expect_exit_within "and the accepted dialog ends it" 1

# In force, but the system has no PASSWORD.CPL.
set_desktop_value ScreenSaveUsePassword REG_DWORD 1
rm "$APP/PASSWORD.CPL"
start_full_screen
xdotool key a
expect_exit_within "without PASSWORD.CPL the saver ends at once" 1
