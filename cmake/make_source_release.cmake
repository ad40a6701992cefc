# Run by the source_release target (cmake/source_release.cmake) in script mode.
find_program(GIT git REQUIRED)
set(name rimeglass-${PROJECT_VERSION})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GIT} -C ${SOURCE} status --porcelain --untracked-files=no
                OUTPUT_VARIABLE changed COMMAND_ERROR_IS_FATAL ANY)
if(changed)
  message(WARNING "uncommitted changes are not in the source release:\n${changed}")
endif()
execute_process(COMMAND ${GIT} -C ${SOURCE} archive --format=tar.gz --prefix=${name}/
                        -o ${OUT}/${name}.tar.gz HEAD
                COMMAND_ERROR_IS_FATAL ANY)
file(SHA256 ${OUT}/${name}.tar.gz SOURCE_SHA256)
configure_file(${SOURCE}/packaging/arch/PKGBUILD.in ${OUT}/PKGBUILD @ONLY)
message(STATUS "source release: ${OUT}/${name}.tar.gz, with ${OUT}/PKGBUILD")
