#include "render/draw_frame.h"

#include "common/gl.h"
#include "render/draw_scene.h"

void DrawFrame(void (*present)()) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene();
  present();
}
