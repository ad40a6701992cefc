# The RPM beside the Debian package, for Fedora and its kin, when rpmbuild is
# there to make it: rimeglass-<version>-1.x86_64.rpm with the saver component
# and these documents where Fedora keeps them. Its Requires are the sonames
# the program links, found when it is packed (packaging/rpm_requires.cmake).
find_program(RPMBUILD rpmbuild)
if(NOT RPMBUILD)
  message(STATUS "rpmbuild not found: the package target makes the Debian package alone")
  return()
endif()
list(APPEND CPACK_GENERATOR RPM)

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/licenses/rimeglass COMPONENT rpm)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/rimeglass COMPONENT rpm)
# The lock's PAM service, Fedora's way, kept as the administrator edits it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pam/rimeglass DESTINATION /etc/pam.d COMPONENT rpm)
set(CPACK_RPM_USER_FILELIST "%config(noreplace) /etc/pam.d/rimeglass")

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_GROUP "Amusements/Graphics")
set(CPACK_RPM_PACKAGE_URL "https://example.org/rimeglass")
# Weak dependencies: whichever runs it. CPack's own SUGGESTS is dropped when
# `rpm --suggests` fails, which it does for rpm 4.18 though rpmbuild takes the
# tag, so the lines go straight into the package's header for rpmbuild.
set(CPACK_RPM_PACKAGE_SUMMARY "Screen saver: a turning ice crystal in front of a coloured mesh")
set(CPACK_RPM_SPEC_MORE_DEFINE "Packager: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}\nSuggests: xscreensaver\nSuggests: xsecurelock\nSuggests: swayidle")
# Requires are ours alone (rpmbuild's own finder differs between the rpm
# builds of distributions); the package provides nothing to link against.
set(CPACK_RPM_PACKAGE_AUTOREQPROV OFF)
# Installed where its paths say, as distributions' packages are.
set(CPACK_RPM_PACKAGE_RELOCATABLE OFF)
# XScreenSaver's folders are co-owned, as the guidelines allow a package that
# does not require their owner; the system's own folders are not.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
  /usr/libexec /usr/share/man /usr/share/man/man6 /usr/share/licenses /etc /etc/pam.d)
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
