#!/usr/bin/env bash
# The installer as an administrator runs it unattended (/S) in a fresh 64-bit
# Wine prefix: the saver lands in the real System32, where the Screen Saver
# settings list it, carrying this version; Add/Remove Programs lists an
# uninstaller; the installed saver runs full screen and ends on a key. The
# silent uninstall then takes all of it away again, and clears the user's
# screen-saver choice only when that choice was Rimeglass.
source "$(dirname "$0")/package_lib.sh"

make_prefix 640x480
start_xvfb 800x600x24
set_install_paths

install_silently() {
  cp "$INSTALLER" "$HARNESS_DIR/setup.exe"
  local status=0
  (cd "$HARNESS_DIR" && wine setup.exe /S) >"$HARNESS_DIR/setup.log" 2>&1 || status=$?
  check "the silent install ends with exit code 0" [ "$status" -eq 0 ]
}

# The uninstaller copies itself to a temporary folder, starts that copy and
# returns at once; its last step removes the program folder.
uninstall_silently() {
  local uninstall status=0
  uninstall=$(registry_value UninstallString | tr -d '"')
  wine "$uninstall" /S >"$HARNESS_DIR/uninstall.log" 2>&1 || status=$?
  check "the silent uninstall starts with exit code 0" [ "$status" -eq 0 ]
  check "the uninstaller removes its program folder" wait_for 30 test ! -e "$PROGRAM_DIR"
}

desktop_saver() {
  wine reg query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *SCRNSAVE.EXE *REG_SZ *//p'
}

listed_programs() { wine uninstaller --list 2>/dev/null | tr -d '\r'; }

# First round: install, look, run, and uninstall for a user whose saver is
# another one.
install_silently
check "Rimeglass.scr is in System32" [ -f "$INSTALLED" ]
check "it is the saver just built" cmp -s "$INSTALLED" "$RIMEGLASS_SCR"
check "not in the 32-bit system folder" [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/Rimeglass.scr" ]

report=$(probe resources 'C:\windows\system32\Rimeglass.scr')
echo "$report"
check 'the installed file lists as "Rimeglass"' grep -qx 'string1=Rimeglass' <<<"$report"
check "its properties show version $VERSION" \
  grep -q "version=1 product=Rimeglass file_version=$VERSION\$" <<<"$report"

check "Add/Remove Programs lists Rimeglass" grep -q '|Rimeglass$' <<<"$(listed_programs)"
check "DisplayName is Rimeglass" [ "$(registry_value DisplayName)" = Rimeglass ]
check "DisplayVersion is $VERSION" [ "$(registry_value DisplayVersion)" = "$VERSION" ]
check "Publisher is the Rimeglass developers" \
  [ "$(registry_value Publisher)" = "the Rimeglass developers" ]
uninstaller=$(registry_value UninstallString | tr -d '"')
echo "UninstallString: $uninstaller"
check "UninstallString names an existing uninstaller" \
  [ -f "$(winepath -u "$uninstaller" 2>/dev/null)" ]
check "QuietUninstallString runs it with /S" \
  [ "$(registry_value QuietUninstallString)" = "\"$uninstaller\" /S" ]
check "the install text is installed beside it" [ -f "$PROGRAM_DIR/INSTALL.txt" ]
check "the licence is installed beside it" [ -f "$PROGRAM_DIR/LICENSE.txt" ]

# The installed copy, started the way the system starts a saver: from the
# system folder with /s.
APP="$SYSTEM32"
start_saver /s
wait_for 20 x_window_exists Rimeglass || fail "the installed saver opened no full-screen window"
expect_running "the installed saver runs full screen" 1
xdotool key space
expect_exit_within "the installed saver ends on a key" 2

other='C:\windows\system32\other.scr'
set_desktop_value SCRNSAVE.EXE REG_SZ "$other"
uninstall_silently
check "Rimeglass.scr is gone from System32" [ ! -e "$INSTALLED" ]
check "the uninstall key is gone" not key_exists
check "Add/Remove Programs no longer lists Rimeglass" not grep -q 'Rimeglass' <<<"$(listed_programs)"
check "another chosen saver is left alone" [ "$(desktop_saver)" = "$other" ]

# Second round: installing again after an uninstall works, and a user whose
# saver was Rimeglass (spelt in capitals, as Windows may) is left with none.
install_silently
check "a second install puts Rimeglass.scr back" cmp -s "$INSTALLED" "$RIMEGLASS_SCR"
set_desktop_value SCRNSAVE.EXE REG_SZ 'C:\WINDOWS\SYSTEM32\RIMEGLASS.SCR'
uninstall_silently
check "Rimeglass.scr is gone again" [ ! -e "$INSTALLED" ]
check "the user's choice of Rimeglass is cleared" [ -z "$(desktop_saver)" ]

# The Screen Saver settings open without waiting for the installer, so this
# is looked at last, long after both installs.
check "the silent installs never opened the Screen Saver settings" [ ! -e "$DESK_LOG" ]
