# `cmake --build --preset native --target source_release`: the source release,
# rimeglass-<version>.tar.gz in the build folder's release/, the files of the
# commit checked out (git archive: nothing untracked, the same bytes for the
# same commit), and beside it the Arch PKGBUILD that builds it, with its
# version and checksum filled in (packaging/arch/PKGBUILD.in).
add_custom_target(source_release
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DOUT=${PROJECT_BINARY_DIR}/release
          -DPROJECT_VERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/make_source_release.cmake
  VERBATIM)
