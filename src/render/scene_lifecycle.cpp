#include "render/scene_lifecycle.h"

#include "common/gl.h"
#include "render/draw_scene.h"
#include "render/init_gl.h"
#include "render/scene.h"

bool IsPreviewSize(int32_t width, int32_t height) { return width < 640 || height < 480; }

std::unique_ptr<Scene> StartScene(int32_t width, int32_t height, uint32_t seed, bool preview) {
  std::unique_ptr<Scene> scene = MakeScene();
  PrepareScene(*scene, width, height, seed, preview);
  InitGL(scene->viewportSize);
  return scene;
}

void ReshapeScene(Scene& scene, int32_t width, int32_t height) {
  scene.viewportSize = {width, height};
  LayoutBackgroundGrid(scene.background.grid, scene.background.normals, scene.random, scene.viewportSize,
                       scene.preview);
  InitGL(scene.viewportSize);
}

void ResumeScene(const Scene& scene) { InitGL(scene.viewportSize); }

void DrawFrame(Scene& scene) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene(scene);
}
