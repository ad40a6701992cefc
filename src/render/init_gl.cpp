#include "render/init_gl.h"

#include "common/gl.h"
#include "common/viewport.h"

namespace {

struct LightValues {
  GLenum light;
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
};

// Both lights sit one unit behind the eye; given while the modelview is the
// identity, they stay put however the crystal turns.
constexpr GLfloat LightPosition[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr GLfloat LightDirection[3] = {0.0f, 0.0f, -1.0f};
constexpr LightValues CrystalLight = {GL_LIGHT0, {0, 0, 0, 1}, {0.2f, 0.2f, 0.2f, 1}, {1, 1, 1, 1}};
constexpr LightValues BackgroundLight = {
    GL_LIGHT1, {0.2f, 0.2f, 0.2f, 1}, {0.4f, 0.4f, 0.4f, 1}, {0.3f, 0.3f, 0.3f, 1}};
constexpr GLfloat MaterialAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat MaterialDiffuse[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat MaterialShininess = 15.0f;

void SetLight(const LightValues& values) {
  glLightfv(values.light, GL_AMBIENT, values.ambient);
  glLightfv(values.light, GL_DIFFUSE, values.diffuse);
  glLightfv(values.light, GL_SPECULAR, values.specular);
  glLightfv(values.light, GL_POSITION, LightPosition);
  glLightfv(values.light, GL_SPOT_DIRECTION, LightDirection);
}

}  // namespace

void InitGL(const ViewportSizeData& size) {
  glViewport(0, 0, size.width, size.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, ViewportAspect(size), 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_COLOR_MATERIAL);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  glEnable(GL_NORMALIZE);
  // Additive: the crystal's light accumulates over the background.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);

  glEnable(GL_LIGHTING);
  SetLight(CrystalLight);
  SetLight(BackgroundLight);
  glMaterialfv(GL_FRONT, GL_AMBIENT, MaterialAmbient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, MaterialDiffuse);
  glMaterialf(GL_FRONT, GL_SHININESS, MaterialShininess);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
}
