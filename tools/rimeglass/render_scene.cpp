#include "rimeglass/render_scene.h"

#include "common/gl.h"
#include "offscreen/offscreen_gl.h"
#include "offscreen/png_writer.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"

bool RenderSceneToPng(const SceneOptions& scene, const std::string& path, std::string& error) {
  OffscreenGL gl;
  if (!gl.Create(scene.width, scene.height)) {
    error = gl.error();
    return false;
  }
  const std::unique_ptr<Scene> drawn = StartScene(scene.width, scene.height, scene.seed, scene.preview);
  // The saver's frame, with glFinish where it swaps buffers.
  for (uint32_t frame = 0; frame < scene.frames; ++frame) {
    DrawFrame(*drawn);
    glFinish();
  }
  return WritePngFromGLRows(path, gl.width(), gl.height(), gl.pixels(), error);
}
