#!/usr/bin/env bash
# The mouse ends the saver only by a jump: steps of exactly 30 pixels between
# two events never do, however far they add up; a step of 31 in x alone or
# in y alone does, and turns the screen-saver flag off; a click without
# movement does nothing.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24

# Until Wine has seen the pointer, it reports a stale position, which the
# saver would take for a jump: the desktop is held open, and every step is
# seen by Wine before the next, so the saver gets one event per step.
hold_desktop 300
step_to() { pointer_to "$1" "$2"; }

run_saver_at() {
  pointer_to $(($1 + 5)) "$2"
  pointer_to "$1" "$2"
  start_saver /s
  wait_foreground Rimeglass || fail "no saver window (or it never took the foreground)"
  sleep 1
}

run_saver_at 100 100
for x in 130 160 190 220 250 280; do step_to "$x" 100; done
for y in 130 160 190 220 250; do step_to 280 "$y"; done
for i in 1 2 3 4; do step_to $((280 - 30 * i)) $((250 - 30 * i)); done
expect_running "steps of 30 in x, in y and in both never end it" 0.5
xdotool click 1
sleep 0.3
xdotool click 3
expect_running "clicks without movement do nothing" 1
step_to 191 130
expect_exit_within "a step of 31 in x alone ends it" 1
check "the screen-saver flag is off after the jump" [ "$(probe flag)" = running=0 ]

run_saver_at 300 300
step_to 300 330
step_to 300 361
expect_exit_within "a step of 31 in y alone ends it" 1
