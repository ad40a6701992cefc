#include "render/draw_scene.h"

#include "background/draw_background.h"
#include "common/gl.h"
#include "crystal/draw_crystal.h"
#include "render/scene.h"

namespace {

constexpr GLfloat BackgroundSpecular[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat CrystalSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

void BeginBackgroundPass() {
  // The mesh: light 1, opaque, whatever the previous frame left behind.
  glDisable(GL_LIGHT0);
  glEnable(GL_LIGHT1);
  glMaterialfv(GL_FRONT, GL_SPECULAR, BackgroundSpecular);
  glDisable(GL_BLEND);
}

void BeginCrystalPass() {
  // The crystal: light 0, added on top; there is no depth test.
  glEnable(GL_BLEND);
  glDisable(GL_LIGHT1);
  glEnable(GL_LIGHT0);
  glMaterialfv(GL_FRONT, GL_SPECULAR, CrystalSpecular);
}

void AdvanceScene(Scene& scene) {
  AdvanceBackground(scene.background, scene.random);
  AdvanceCrystalTurn(scene.crystal, scene.random);
}

void DrawScene(Scene& scene) {
  AdvanceScene(scene);
  BeginBackgroundPass();
  EmitBackground(scene.background);
  BeginCrystalPass();
  EmitCrystal(scene.crystal);
}
