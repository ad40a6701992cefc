# rimeglass-bench.exe: the scene benchmark built with the Windows toolchain,
# to measure the program's own work with MinGW's runtime under Wine.
add_executable(rimeglass-bench
  ${CMAKE_CURRENT_LIST_DIR}/bench/windows_bench_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench/scene_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench/gl_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rimeglass/command_line.cpp
  ${PROJECT_SOURCE_DIR}/src/render/wgl_context.cpp
)
target_include_directories(rimeglass-bench PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(rimeglass-bench PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(rimeglass-bench PRIVATE -static)
target_link_libraries(rimeglass-bench PRIVATE rimeglass_core user32 gdi32 opengl32 glu32)
