#!/usr/bin/env bash
# The installer as a user goes through it: it waits on the licence page,
# Enter accepts the licence and the files go in, and Enter on the last page,
# with its offer ticked as it comes, opens the Screen Saver settings on the
# installed saver the way right-click > Install does.
source "$(dirname "$0")/package_lib.sh"

make_prefix 800x600
start_xvfb 800x600x24
set_install_paths

# Its caption is "Rimeglass Setup" and whatever the page adds.
setup_shown() { xdotool search --name '^Rimeglass Setup' >/dev/null 2>&1; }
installed() { [ -f "$INSTALLED" ] && key_exists; }

cp "$INSTALLER" "$HARNESS_DIR/setup.exe"
(cd "$HARNESS_DIR" && exec wine setup.exe) >"$HARNESS_DIR/setup.log" 2>&1 &
setup_pid=$!

wait_for 60 setup_shown || fail "no window titled 'Rimeglass Setup'"
sleep 1
check "nothing is installed before the licence is accepted" not installed

xdotool key Return
wait_for 60 installed || fail "Enter on the licence page installed nothing"
echo "ok: Enter accepts the licence and the saver is installed"
check "the settings are not opened before the last page" [ ! -e "$DESK_LOG" ]

# The last page follows the installation on its own.
sleep 2
xdotool key Return
wait_for 30 gone "$setup_pid" || fail "Enter on the last page did not end the installer"
status=0
wait "$setup_pid" || status=$?
check "the installer ends with exit code 0" [ "$status" -eq 0 ]

wait_for 30 test -s "$DESK_LOG" || fail "the Screen Saver settings were not opened"
calls=$(tr -d '\r' <"$DESK_LOG")
echo "InstallScreenSaver: $calls"
check "they are opened once, on the installed saver" \
  [ "${calls,,}" = 'c:\windows\system32\rimeglass.scr' ]
