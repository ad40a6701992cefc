#include "render/scene_lifecycle.h"

#include "render/draw_frame.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"
#include "render/scene.h"

bool IsPreviewSize(int32_t width, int32_t height) { return width < 640 || height < 480; }

std::unique_ptr<Scene> StartScene(int32_t width, int32_t height, uint32_t seed, bool preview) {
  std::unique_ptr<Scene> scene = MakeScene();
  PrepareScene(*scene, width, height, preview, seed);
  scene->preview = preview;
  InitGL(*scene);
  return scene;
}

void ReshapeScene(Scene& scene, int32_t width, int32_t height) {
  ResizeScene(scene, width, height, scene.preview);
  InitGL(scene);
}
