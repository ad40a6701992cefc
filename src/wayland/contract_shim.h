#pragma once
// TEMPORARY: stands in for the scene-per-screen core until it is on main;
// removed by the merge that brings it.
#include <cstdint>
#include <memory>

#include "common/gl.h"
#include "common/viewport.h"
#include "render/draw_scene.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"

struct Scene {
  int32_t width = 0;
  int32_t height = 0;
  bool preview = false;
};
inline std::unique_ptr<Scene> MakeScene() { return std::make_unique<Scene>(); }
inline void PrepareScene(Scene& s, int32_t w, int32_t h, bool preview, uint32_t seed) {
  s = {w, h, preview};
  PrepareScene(w, h, preview, seed);
}
inline void ResizeScene(Scene& s, int32_t w, int32_t h, bool preview) {
  s = {w, h, preview};
  ResizeScene(w, h, preview);
}
inline void InitGL(const Scene& s) {
  ResizeScene(s.width, s.height, s.preview);
  InitGL();
}
inline void DrawFrame(Scene& s) {
  if (ViewportSize.width != s.width || ViewportSize.height != s.height)
    ResizeScene(s.width, s.height, s.preview);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene();
}
