#!/usr/bin/env bash
# The Debian package on Debian 13: built here, it installs in the Debian 13
# root (scripts/debian13-root) with its declared needs alone; there the
# installed program passes the daemon tests and the Wayland test under each
# of DEBIAN13_COMPOSITORS; its removal leaves the root's packages as they were.
root_tool=$(dirname "$0")/../../scripts/debian13-root
[ "${1:-}" = inside ] || "$root_tool" usable || exit
: "${RIMEGLASS_BUILD:?RIMEGLASS_BUILD names the build folder}"
source "$(dirname "$0")/x11_test_lib.sh"
source "$HERE/package_lib.sh"

if [ "${1:-}" != inside ]; then
  build_deb
  check "in the Debian 13 root" "$root_tool" run RIMEGLASS="$RIMEGLASS" RIMEGLASS_BUILD="$RIMEGLASS_BUILD" \
    VIRTUAL_POINTER="$VIRTUAL_POINTER" DEBIAN13_COMPOSITORS="${DEBIAN13_COMPOSITORS:-sway}" \
    bash "$HERE/debian13_package.sh" inside "$DEB"
  exit
fi

DEB=$2
packages() { dpkg-query -W -f='${Package}\n' | sort; }
packages >"$HARNESS_DIR/packages.before"
harness_at_exit 'apt-get purge -y -q rimeglass >/dev/null 2>&1; apt-get autoremove -y -q --purge >/dev/null 2>&1'
check "apt-get installs it with its declared needs" eval 'apt-get install -y -q --no-install-recommends "$DEB" \
  >"$HARNESS_DIR/apt.log" 2>&1 || { cat "$HARNESS_DIR/apt.log"; false; }'
# shellcheck disable=SC2086  # one compositor a word
check_installed ${DEBIAN13_COMPOSITORS:-sway}
check "apt-get removes it and what it alone pulled in" eval 'apt-get purge -y -q rimeglass >"$HARNESS_DIR/apt.log" 2>&1 &&
  apt-get autoremove -y -q --purge >>"$HARNESS_DIR/apt.log" 2>&1 || { cat "$HARNESS_DIR/apt.log"; false; }'
check "leaving the root's packages as they were" eval 'packages | diff "$HARNESS_DIR/packages.before" -'
