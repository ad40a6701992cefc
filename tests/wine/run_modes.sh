#!/usr/bin/env bash
# The first argument picks the mode by its second character: every spelling
# of full screen opens the saver, every spelling of configure ends at once
# with exit code 0 and no window.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24

for spelling in /c /C /c:1234; do
  expect_ends_at_once_without_window Rimeglass "'$spelling'" "$spelling"
done

# "" stands for no argument at all.
for spelling in /s /S -s xs /x s ""; do
  if [ -n "$spelling" ]; then start_saver "$spelling"; else start_saver; fi
  wait_foreground Rimeglass || fail "'$spelling' opened no full-screen window (or it never took the foreground)"
  expect_running "'$spelling' runs the full-screen saver" 0.5
  xdotool key space
  expect_exit_within "'$spelling' full screen ends on a key" 2
done
