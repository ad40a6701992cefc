# Rimeglass.scr: the Windows program around the portable core.
enable_language(RC)

add_executable(Rimeglass WIN32
  app/main.cpp
  app/command_line.cpp
  app/Rimeglass.rc
  shell/application.cpp
  shell/form.cpp
  shell/saver_form.cpp
  shell/preview.cpp
  shell/password.cpp
  shell/monitor_covers.cpp
  shell/screen_dpi.cpp
  render/wgl_context.cpp
)
set_target_properties(Rimeglass PROPERTIES OUTPUT_NAME Rimeglass SUFFIX .scr)
target_include_directories(Rimeglass PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(Rimeglass PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
set_source_files_properties(app/Rimeglass.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/Rimeglass.manifest
  COMPILE_DEFINITIONS "RIMEGLASS_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};RIMEGLASS_VERSION_MINOR=${PROJECT_VERSION_MINOR};RIMEGLASS_VERSION_PATCH=${PROJECT_VERSION_PATCH}")
# A screen saver is copied into the system folder on its own: it must need
# nothing but Windows' DLLs, so the C++ runtime is linked in.
target_link_options(Rimeglass PRIVATE -mwindows -static)
target_link_libraries(Rimeglass PRIVATE rimeglass_core user32 gdi32 advapi32 opengl32 glu32)
