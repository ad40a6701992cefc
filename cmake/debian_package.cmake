# The Linux packages, made by `cmake --build --preset native --target package`
# into the build folder. The Debian package, rimeglass_<version>_amd64.deb:
#   /usr/libexec/xscreensaver/rimeglass              the saver, where XScreenSaver looks
#   /usr/bin/rimeglass                               a link to it, on PATH for Wayland
#                                                    idle daemons' command lines
#   /usr/share/xscreensaver/config/rimeglass.xml     its entry in xscreensaver-settings
#   /usr/share/man/man6/rimeglass.6.gz               the manual page
#   /usr/share/doc/rimeglass/copyright, changelog.gz the licence, machine-readable
#   /etc/pam.d/rimeglass                             the lock's PAM service, a conffile
# The RPM, rimeglass-<version>-1.x86_64.rpm, holds the same saver, link, entry
# and manual page, with the licence and README where Fedora keeps them
# (cmake/rpm_package.cmake). The install rules' components say which: saver
# for every package (and for `cmake --install`, as the Arch package does),
# debian and rpm for each one's documents.
# The Windows packages are cmake/packaging.cmake; these are only for Linux builds.

# Where the saver goes under the prefix: XScreenSaver's folder of hacks, which
# is libexec/xscreensaver on Debian and Fedora, lib/xscreensaver on Arch.
set(RIMEGLASS_HACK_DIR libexec/xscreensaver CACHE STRING "Folder of XScreenSaver's hacks, under the prefix")

set(deb_dir ${PROJECT_BINARY_DIR}/debian_package)

# The manual page with its version filled in, compressed without a time stamp
# so that the same sources give the same package.
configure_file(${PROJECT_SOURCE_DIR}/packaging/rimeglass.6 ${deb_dir}/rimeglass.6 @ONLY)
# A native package carries its changelog; this one names the release.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${deb_dir}/changelog @ONLY)
add_custom_command(
  OUTPUT ${deb_dir}/rimeglass.6.gz ${deb_dir}/changelog.gz
  COMMAND gzip -9nf -k ${deb_dir}/rimeglass.6 ${deb_dir}/changelog
  DEPENDS ${deb_dir}/rimeglass.6 ${deb_dir}/changelog
  VERBATIM)
add_custom_target(rimeglass_deb_docs ALL DEPENDS ${deb_dir}/rimeglass.6.gz ${deb_dir}/changelog.gz)

# Debian's machine-readable copyright file, from the one LICENSE: its text
# after the copyright line, each line indented, blank lines as " .".
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
list(FILTER license_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
set(license_text "")
foreach(line IN LISTS license_lines)
  if(line STREQUAL "")
    string(APPEND license_text " .\n")
  else()
    string(APPEND license_text " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "^( \\.\n)+" "" license_text "${license_text}")
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright_line REGEX "^Copyright ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" copyright_holder "${copyright_line}")
file(WRITE ${deb_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Rimeglass

Files: *
Copyright: ${copyright_holder}
License: Expat
${license_text}")

install(TARGETS rimeglass RUNTIME DESTINATION ${RIMEGLASS_HACK_DIR} COMPONENT saver)
# One program for both: swayidle and hypridle run commands found on PATH.
file(CREATE_LINK ../${RIMEGLASS_HACK_DIR}/rimeglass ${deb_dir}/rimeglass SYMBOLIC)
install(FILES ${deb_dir}/rimeglass DESTINATION bin COMPONENT saver)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/rimeglass.xml DESTINATION share/xscreensaver/config
        COMPONENT saver)
install(FILES ${deb_dir}/rimeglass.6.gz DESTINATION share/man/man6 COMPONENT saver)
install(FILES ${deb_dir}/copyright ${deb_dir}/changelog.gz DESTINATION share/doc/rimeglass
        COMPONENT debian)
# The lock's PAM service, Debian's way, kept as the administrator edits it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pam/rimeglass.debian DESTINATION /etc/pam.d
        RENAME rimeglass COMPONENT debian)
file(WRITE ${deb_dir}/conffiles "/etc/pam.d/rimeglass\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${deb_dir}/conffiles)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rimeglass)
set(CPACK_PACKAGE_VENDOR "the Rimeglass developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "the Rimeglass developers <rimeglass@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver | xsecurelock | swayidle")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver: a turning ice crystal in front of a coloured mesh")
# cpack puts the summary first and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Rimeglass draws a flat, six-fold ice crystal that turns slowly about the
vertical axis, with additive light, in front of a faceted mesh whose
colours drift back and forth. Each time the crystal completes a turn, a
new one grows. It is an OpenGL program for XScreenSaver and xsecurelock
on X11, and for idle daemons such as swayidle on Wayland compositors that
offer the wlr layer shell (sway, Hyprland, river, labwc, KDE Plasma).
There it also locks the session (ext-session-lock), the crystal turning
behind its password prompt, and draws a lock host's background.")
include(${PROJECT_SOURCE_DIR}/cmake/rpm_package.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/source_release.cmake)
# Read by cpack once per generator: which components go into that package.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/linux_cpack_options.cmake)
# The program whose libraries the RPM requires, by path: cpack reads no generator expressions.
file(GENERATE OUTPUT ${deb_dir}/program_path CONTENT $<TARGET_FILE:rimeglass>)
set(CPACK_RIMEGLASS_PROGRAM_PATH ${deb_dir}/program_path)
include(CPack)
