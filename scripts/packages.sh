# Sourced by install-deps and debian13-root: the Debian packages the project
# needs, in Debian 12's names; packages_for gives another release's.

# What the end-to-end tests and the benchmarks need at run time: the tools,
# the daemons and the compositors the saver runs under. The host gets these
# with the build's below; the Debian 13 root gets these alone, since it only
# runs what the host built.
runtime_packages=(
  python3  # rimeglass-tool's end-to-end tests, the X11 pixel probe
  procps file man-db dbus
  strace  # the Linux saver's benchmark counts its frame sleeps
  libgl1-mesa-dri libegl1 libwayland-egl1
  # the Linux saver's tests against the real daemons
  xscreensaver xscreensaver-gl xsecurelock
  # headless compositors with their background, screenshots, keys, outputs
  # and idle daemon; weston has no layer shell, for the Wayland saver's refusal
  sway swaybg grim wtype wlr-randr swayidle weston
  labwc wayfire kwin-wayland
  # the session lock's tests: PAM through pam_wrapper's pam_matrix, so no
  # real account's password is ever asked
  libpam-wrapper
  # running and testing the Windows program
  wine wine64 xvfb x11-utils xdotool imagemagick
  libxfixes3  # the pointer check of the Wine tests (through python3)
  # several monitors for the Wine tests: Xorg with the dummy video driver;
  # xsetroot colours what no window covers
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
)

# Debian 13's backports only, for the root alone: Hyprland and its idle
# daemon, which need a newer libxkbcommon, named here with the two libraries
# that must keep its version; Mesa and the rest stay Debian 13's own.
backports_packages=(hyprland hypridle libxkbcommon0 libxkbcommon-x11-0 libxkbregistry0)

# What building needs, on the host only.
build_packages=(
  # native build and tests
  cmake g++ make libgtest-dev libpng-dev
  libgl1-mesa-dev libglu1-mesa-dev libosmesa6-dev
  # the fuzz preset: clang with libFuzzer's runtime
  clang libclang-rt-14-dev
  # the Linux saver and its Debian package
  libx11-dev dpkg-dev lintian
  # the RPM (rpmbuild), its test's look inside it, and the Arch package's
  # makepkg with the tar it packs with and pacman, which it looks for even
  # with --nodeps
  rpm rpm2cpio cpio makepkg libarchive-tools pacman-package-manager
  # the Wayland saver: client library, EGL, the scanner and xdg-shell for the
  # protocols' glue
  libwayland-dev libwayland-bin wayland-protocols libegl-dev pkg-config
  # the session lock: the keymap's reading and the password's check
  libxkbcommon-dev libpam0g-dev
  # Windows cross build
  mingw-w64
  # the release packages and the README's pictures
  nsis  # the installer
  webp  # img2webp, for the animation that tools/make-pictures makes
  mmdebstrap  # the Debian 13 root the tests also run in
)

# debian_release: the codename of the running system (bookworm, trixie).
debian_release() { (. /etc/os-release && echo "${VERSION_CODENAME:-}"); }

# packages_for RELEASE NAME...: the names as RELEASE spells them, one a line;
# what RELEASE does not have is left out.
packages_for() {
  local release=$1 name
  shift
  for name in "$@"; do
    case $release:$name in
      # clang 19's libFuzzer runtime; the GL headers and pkg-config under
      # their own names, where the old ones are only transitional
      trixie:libclang-rt-14-dev) echo libclang-rt-19-dev ;;
      trixie:libgl1-mesa-dev) echo libgl-dev; echo libglvnd-dev ;;
      trixie:pkg-config) echo pkgconf ;;
      trixie:mmdebstrap) ;;  # a Debian 13 host runs the tests itself
      # labwc is new in Debian 13
      bookworm:labwc) ;;
      *) echo "$name" ;;
    esac
  done
}
