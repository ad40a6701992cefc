# Runs the package target and checks that it made every package. Packages
# left by an earlier run are removed first, so that they cannot pass for new.
file(REMOVE ${PACKAGES})
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} --target package
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the package target failed (${status})")
endif()
foreach(package ${PACKAGES})
  if(NOT EXISTS ${package})
    message(FATAL_ERROR "no ${package}")
  endif()
  message(STATUS "made ${package}")
endforeach()
