#include "rimeglass/render_scene.h"

#include "common/gl.h"
#include "offscreen/offscreen_gl.h"
#include "offscreen/png_writer.h"
#include "render/draw_frame.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"
#include "render/scene.h"

bool RenderSceneToPng(const SceneOptions& scene, const std::string& path, std::string& error) {
  // The saver prepares the scene before its context exists; so do we.
  const std::unique_ptr<Scene> drawn = MakeScene();
  PrepareScene(*drawn, scene.width, scene.height, scene.preview, scene.seed);
  OffscreenGL gl;
  if (!gl.Create(scene.width, scene.height)) {
    error = gl.error();
    return false;
  }
  InitGL(*drawn);
  // The saver's frame, with glFinish where it swaps buffers.
  for (uint32_t frame = 0; frame < scene.frames; ++frame) {
    DrawFrame(*drawn);
    glFinish();
  }
  return WritePngFromGLRows(path, gl.width(), gl.height(), gl.pixels(), error);
}
