#!/usr/bin/env bash
# "/a <window>" hands over to the system's change-password entry in MPR.DLL,
# here a recording stand-in loaded in place of Wine's own.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24
cp "$FIXTURE_BIN/MPR.DLL" "$APP/"
records() { [ -f "$FIXTURE/change.log" ] && tr -d "\r" <"$FIXTURE/change.log" || true; }

run_change() {
  rm -f "$FIXTURE/change.log"
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=n" start_saver "$@"
  expect_exit_within "'$*' returns when the dialog closes" 10
}

run_change /a 1234
echo "$(records)"
check "called with SCRSAVE and owner 1234" [ "$(records)" = "provider=SCRSAVE owner=1234 flags=0 reserved=0" ]
run_change /A '$1F'
check "a hexadecimal handle reaches the dialog as 31" [ "$(records)" = "provider=SCRSAVE owner=31 flags=0 reserved=0" ]
run_change /a
check "without a handle the owner is 0" [ "$(records)" = "provider=SCRSAVE owner=0 flags=0 reserved=0" ]
run_change /a 12x
check "a handle that is not a number gives owner 0" [ "$(records)" = "provider=SCRSAVE owner=0 flags=0 reserved=0" ]

# Without any MPR.DLL the mode ends quietly.
rm "$APP/MPR.DLL" "$FIXTURE/change.log"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=" start_saver /a 1234
expect_exit_within "without MPR.DLL '/a 1234' ends at once" 10
check "and nothing was called" [ ! -e "$FIXTURE/change.log" ]
