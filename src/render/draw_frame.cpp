#include "render/draw_frame.h"

#include "common/gl.h"
#include "render/draw_scene.h"

void DrawFrame(Scene& scene) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene(scene);
}
