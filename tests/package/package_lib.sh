# Sourced by the installer's tests under Wine: the Wine test library (its own
# display and prefix per test), where the installer puts things, and how to
# read them back.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/wine_test_lib.sh"
: "${INSTALLER:?path of the installer}" "${VERSION:?project version}"
: "${DESK_CPL:?path of the desk.cpl recorder}"

# Call after make_prefix.
set_install_paths() {
  SYSTEM32="$WINEPREFIX/drive_c/windows/system32"
  INSTALLED="$SYSTEM32/Rimeglass.scr"
  PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Rimeglass"
  DESK_LOG="$FIXTURE/install_screen_saver.log"
  cp "$DESK_CPL" "$SYSTEM32/desk.cpl"
}
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rimeglass'

# registry_value NAME: the data of one value of the uninstall key.
registry_value() {
  wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

key_exists() { wine reg query "$KEY" >/dev/null 2>&1; }

not() { ! "$@"; }
