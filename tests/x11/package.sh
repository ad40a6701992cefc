#!/usr/bin/env bash
# The Debian package: built by the package target, it holds exactly the
# saver, its link on PATH, settings entry, manual page and copyright; lintian
# finds no errors; installed, the real XScreenSaver finds "rimeglass" by name
# and runs it (the whole daemon test, on the installed program), xsecurelock
# runs it, and so does sway, through PATH (the whole Wayland test); removed,
# it leaves none of its files behind. Installing needs root: skipped
# otherwise.
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
: "${RIMEGLASS_BUILD:?RIMEGLASS_BUILD names the build folder}"
source "$(dirname "$0")/x11_test_lib.sh"
source "$HERE/package_lib.sh"
if dpkg-query -W -f='${Status}' rimeglass 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: a rimeglass package is installed already; this test would remove it"
  exit 77
fi
harness_at_exit 'dpkg -r rimeglass >/dev/null 2>&1'

build_deb
deb=$DEB

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
echo "files: $files"
check "it holds the saver, its link on PATH, settings entry, manual page, copyright and changelog" test "$files" = \
  "./usr/bin/rimeglass ./usr/libexec/xscreensaver/rimeglass ./usr/share/doc/rimeglass/changelog.gz ./usr/share/doc/rimeglass/copyright ./usr/share/man/man6/rimeglass.6.gz ./usr/share/xscreensaver/config/rimeglass.xml "
check "its dependencies come from the saver's libraries" \
  eval 'dpkg-deb -f "$deb" Depends | grep -q "libglx0.*libx11-6"'
check "it recommends xscreensaver, xsecurelock or swayidle" \
  test "$(dpkg-deb -f "$deb" Recommends)" = "xscreensaver | xsecurelock | swayidle"
lintian --no-tag-display-limit "$deb" >"$HARNESS_DIR/lintian.log" 2>&1
cat "$HARNESS_DIR/lintian.log"
check "lintian reports no errors" eval '! grep -q "^E:" "$HARNESS_DIR/lintian.log"'

check "dpkg -i installs it" eval 'dpkg -i "$deb" >"$HARNESS_DIR/dpkg.log" 2>&1 || { cat "$HARNESS_DIR/dpkg.log"; false; }'
installed=$(dpkg -L rimeglass | while read -r path; do [ ! -f "$path" ] || echo "$path"; done)
check "the settings entry is well-formed XML" \
  python3 -c 'import sys, xml.etree.ElementTree as t; sys.exit(t.parse(sys.argv[1]).getroot().get("name") != "rimeglass")' \
  /usr/share/xscreensaver/config/rimeglass.xml
check "the manual page reads without warnings" \
  eval '[ -z "$(man --warnings -l /usr/share/man/man6/rimeglass.6.gz 2>&1 >/dev/null)" ]'
check_installed sway
check "dpkg -r removes it" eval 'dpkg -r rimeglass >"$HARNESS_DIR/dpkg.log" 2>&1'
left=$(for path in $installed; do [ ! -e "$path" ] || echo "$path"; done)
check "and leaves none of its files behind" test -z "$left"
