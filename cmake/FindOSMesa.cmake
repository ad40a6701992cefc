# Mesa's offscreen GL, for the native tools and the GL tests: the imported
# target OSMesa::OSMesa. Debian ships no pkg-config file for it that every
# release agrees on, so the header and the library are looked up directly.
find_path(OSMESA_INCLUDE_DIR GL/osmesa.h)
find_library(OSMESA_LIBRARY OSMesa)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OSMesa REQUIRED_VARS OSMESA_LIBRARY OSMESA_INCLUDE_DIR)
if(OSMesa_FOUND AND NOT TARGET OSMesa::OSMesa)
  add_library(OSMesa::OSMesa UNKNOWN IMPORTED)
  set_target_properties(OSMesa::OSMesa PROPERTIES
    IMPORTED_LOCATION ${OSMESA_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${OSMESA_INCLUDE_DIR})
endif()
mark_as_advanced(OSMESA_INCLUDE_DIR OSMESA_LIBRARY)
