# Sourced after x11_test_lib.sh by the Debian package's tests, here and in
# the Debian 13 root.

# build_deb: the package target makes the .deb in RIMEGLASS_BUILD afresh;
# DEB is its path, VERSION the project's version.
build_deb() {
  VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$RIMEGLASS_BUILD/CMakeCache.txt")
  DEB=$RIMEGLASS_BUILD/rimeglass_${VERSION}_amd64.deb
  rm -f "$DEB"
  check "the package target makes $(basename "$DEB")" \
    eval 'cmake --build "$RIMEGLASS_BUILD" --target package >"$HARNESS_DIR/cpack.log" 2>&1 && test -f "$DEB" ||
      { cat "$HARNESS_DIR/cpack.log"; false; }'
}

# check_installed COMPOSITOR...: the installed program, named only
# "rimeglass", passes the whole XScreenSaver and xsecurelock tests, and the
# whole Wayland test under each compositor, found through PATH.
check_installed() {
  local compositor status
  check "the daemon runs it by name" \
    env RIMEGLASS=/usr/libexec/xscreensaver/rimeglass XSCREENSAVER_PROGRAM=rimeglass \
    bash "$HERE/xscreensaver.sh"
  check "xsecurelock runs it" env RIMEGLASS=/usr/libexec/xscreensaver/rimeglass bash "$HERE/xsecurelock.sh"
  check "rimeglass on PATH is the saver" test "$(readlink -f "$(command -v rimeglass)")" = \
    /usr/libexec/xscreensaver/rimeglass
  # A compositor that cannot run here says why and is skipped (77).
  for compositor in "$@"; do
    status=0
    env RIMEGLASS=rimeglass COMPOSITOR="$compositor" bash "$HERE/../wayland/wayland.sh" || status=$?
    check "and runs on Wayland by name, under $compositor (status $status, 77: skipped)" \
      test "$status" -eq 0 -o "$status" -eq 77
  done
}
