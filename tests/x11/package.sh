#!/usr/bin/env bash
# The Debian package: built by the package target, it holds exactly the
# saver, its link on PATH, settings entry, manual page and copyright; lintian
# finds no errors; installed, the real XScreenSaver finds "rimeglass" by name
# and runs it (the whole daemon test, on the installed program), xsecurelock
# runs it, and so does sway, through PATH (the whole Wayland test); removed,
# it leaves none of its files behind but its PAM service, a conffile, until
# purged. The RPM beside it holds the same saver at Fedora's paths,
# requires what the program links, and its unpacked payload draws; the Arch
# package that makepkg builds from the source
# release holds it at Arch's paths and depends on the Arch packages of what
# it links. Installing needs root: skipped otherwise.
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
deb=$DEB version=$VERSION

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
echo "files: $files"
check "it holds the saver, its link on PATH, settings entry, manual page, copyright, changelog and PAM service" test "$files" = \
  "./etc/pam.d/rimeglass ./usr/bin/rimeglass ./usr/libexec/xscreensaver/rimeglass ./usr/share/doc/rimeglass/changelog.gz ./usr/share/doc/rimeglass/copyright ./usr/share/man/man6/rimeglass.6.gz ./usr/share/xscreensaver/config/rimeglass.xml "
check "its dependencies come from the saver's libraries" \
  eval 'dpkg-deb -f "$deb" Depends | grep -q "libglx0.*libpam0g.*libx11-6.*libxkbcommon0"'
check "  and its PAM service is a conffile" eval '[ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = /etc/pam.d/rimeglass ]'
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
check "and leaves none of its files behind but its PAM service, a conffile" test "$left" = /etc/pam.d/rimeglass
check "which dpkg -P purges" eval 'dpkg -P rimeglass >>"$HARNESS_DIR/dpkg.log" 2>&1 && [ ! -e /etc/pam.d/rimeglass ]'

# The RPM, made by the same target: the saver at Fedora's paths, requiring
# the sonames the program links and glibc's highest symbol version it takes;
# its payload, unpacked into a throwaway root, draws on an Xvfb screen.
needed() { readelf -d --wide "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p' | sort; }
rpm=$RIMEGLASS_BUILD/rimeglass-$version-1.x86_64.rpm
root=$HARNESS_DIR/rpm-root arch=$HARNESS_DIR/arch
mkdir "$root" "$arch"
check "the package target makes $(basename "$rpm") too, whose payload unpacks" \
  eval '(cd "$root" && rpm2cpio "$rpm" | cpio -idm --quiet)'
files=$(rpm -qp --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' "$rpm" | awk '$1 !~ /^d/ && $2 !~ /build-id/ { print $2 }' | tr '\n' ' ')
echo "files: $files"
check "it holds the saver, its link on PATH, settings entry, manual page, licence, README and PAM service" test "$files" = \
  "/etc/pam.d/rimeglass /usr/bin/rimeglass /usr/libexec/xscreensaver/rimeglass /usr/share/doc/rimeglass/README.md /usr/share/licenses/rimeglass/LICENSE /usr/share/man/man6/rimeglass.6.gz /usr/share/xscreensaver/config/rimeglass.xml "
check "  the PAM service a config file" test "$(rpm -qp --configfiles "$rpm")" = /etc/pam.d/rimeglass
requires=$(rpm -qp --requires "$rpm")
echo "Requires:" $requires
program=$root/usr/libexec/xscreensaver/rimeglass
glibc=$(objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -n1)
check "it requires exactly the libraries the saver links" \
  test "$(sed -n 's/()(64bit)$//p' <<<"$requires" | sort)" = "$(needed "$program")"
check "  and glibc's $glibc, the highest version it takes" grep -qx "libc.so.6($glibc)(64bit)" <<<"$requires"
check "it suggests swayidle, xscreensaver and xsecurelock" \
  test "$(rpm -qp --suggests "$rpm" | sort | tr '\n' ' ')" = "swayidle xscreensaver xsecurelock "
start_xvfb 1024x768x24
"$root/usr/bin/rimeglass" $DAEMON_SAVER_ARGS 2>"$HARNESS_DIR/rpm-saver.log" &
harness_track $!
check "unpacked, its rimeglass covers the screen" wait_for 10 probe covered

# The source release, and the Arch package makepkg builds from it as the
# unprivileged account (makepkg will not run as root), with --nodeps (pacman
# knows none of Debian's packages) and -O2 (Debian's makepkg.conf sets no
# compiler flags, Arch's does).
check "the source_release target makes the tarball and its PKGBUILD" \
  eval 'cmake --build "$RIMEGLASS_BUILD" --target source_release >"$HARNESS_DIR/release.log" 2>&1 &&
    cp "$RIMEGLASS_BUILD/release/PKGBUILD" "$RIMEGLASS_BUILD/release/rimeglass-$version.tar.gz" "$arch" ||
    { cat "$HARNESS_DIR/release.log"; false; }'
chown -R nobody:nogroup "$arch"
check "makepkg builds the Arch package from it" \
  eval '(cd "$arch" && "${HARNESS_USER[@]}" env HOME="$arch" CXXFLAGS=-O2 makepkg --nodeps) >"$HARNESS_DIR/makepkg.log" 2>&1 ||
    { tail -n 40 "$HARNESS_DIR/makepkg.log"; false; }'
check "  configured without the tests' GoogleTest and OSMesa" eval '! grep -q "GTest\|OSMesa" "$arch/src/build/CMakeCache.txt"'
pkg=$(echo "$arch"/rimeglass-"$version"-1-x86_64.pkg.tar.*)
files=$(bsdtar -tvf "$pkg" | awk '$1 !~ /^d/ && $9 !~ /^\./ { print $9 }' | sort | tr '\n' ' ')
echo "files: $files"
check "it holds the saver in Arch's hacks folder, its link, settings entry, manual page, licence, README and PAM service" \
  test "$files" = "etc/pam.d/rimeglass usr/bin/rimeglass usr/lib/xscreensaver/rimeglass usr/share/doc/rimeglass/README.md usr/share/licenses/rimeglass/LICENSE usr/share/man/man6/rimeglass.6.gz usr/share/xscreensaver/config/rimeglass.xml "
bsdtar -xOf "$pkg" .PKGINFO >"$arch/PKGINFO" && bsdtar -xOf "$pkg" usr/lib/xscreensaver/rimeglass >"$arch/rimeglass"
# Arch's package of each library the saver may link: one it links that is
# not here, or a depend that none of them needs, fails.
declare -A arch_package=([libc.so.6]=glibc [libm.so.6]=glibc [libgcc_s.so.1]=gcc-libs
  [libstdc++.so.6]=gcc-libs [libX11.so.6]=libx11 [libGLU.so.1]=glu [libGLX.so.0]=libglvnd
  [libOpenGL.so.0]=libglvnd [libEGL.so.1]=libglvnd [libwayland-client.so.0]=wayland [libwayland-egl.so.1]=wayland
  [libpam.so.0]=pam [libxkbcommon.so.0]=libxkbcommon)
wanted=$(for soname in $(needed "$arch/rimeglass"); do echo "${arch_package[$soname]:-(none for $soname)}"; done | sort -u | tr '\n' ' ')
check "its depends are the packages of what it links: $wanted" \
  test "$(sed -n 's/^depend = //p' "$arch/PKGINFO" | sort | tr '\n' ' ')" = "$wanted"
check "  keeping an edited PAM service" grep -qx 'backup = etc/pam.d/rimeglass' "$arch/PKGINFO"
check "  optionally xscreensaver, xsecurelock, swayidle or hypridle" \
  test "$(sed -n 's/^optdepend = \([^:]*\):.*/\1/p' "$arch/PKGINFO" | tr '\n' ' ')" = "xscreensaver xsecurelock swayidle hypridle "
