# Read by cpack once per generator of the Linux build: each package holds the
# saver and its own distribution's documents (the install components of
# cmake/debian_package.cmake).
# The build folder, as the default list of projects to install names it.
list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build_dir)
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${build_dir};Rimeglass;saver;/;${build_dir};Rimeglass;debian;/")
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${build_dir};Rimeglass;saver;/;${build_dir};Rimeglass;rpm;/")
  file(READ ${CPACK_RIMEGLASS_PROGRAM_PATH} program)
  include(${CMAKE_CURRENT_LIST_DIR}/rpm_requires.cmake)
  rpm_requires("${program}" CPACK_RPM_PACKAGE_REQUIRES)
endif()
