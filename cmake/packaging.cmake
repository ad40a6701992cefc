# The release packages, made by `cmake --build --preset windows --target package`
# into the build folder:
#   Rimeglass-<version>-win64.zip        the saver, how to install it, the licence
#   Rimeglass-<version>-win64-setup.exe  a 64-bit NSIS installer of the same
# The installer script is packaging/NSIS.template.in; cpack fills it in.

# Both texts are read on Windows, in Notepad among others: CRLF line ends.
configure_file(${PROJECT_SOURCE_DIR}/packaging/INSTALL.txt.in
               ${PROJECT_BINARY_DIR}/packaging/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE
               ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Rimeglass RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/packaging/INSTALL.txt
              ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Rimeglass)
set(CPACK_PACKAGE_VENDOR "the Rimeglass developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A screen saver: a turning ice crystal in front of a softly coloured mesh")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Rimeglass)
set(CPACK_PACKAGE_FILE_NAME Rimeglass-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt)
# Per-generator settings (the installer's file name, the zip's layout).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake)
# cpack takes NSIS.template.in from the module path before its own.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
include(CPack)
