#include "crystal/draw_crystal.h"

#include "common/immediate_gl.h"
#include "crystal/crystal_triangles.h"
#include "render/scene.h"

namespace {

constexpr float TurnLimit = 450.0f;
// 450 and 90 degrees are the same orientation, so restarting never jumps.
constexpr float RestartAngle = 90.0f;
constexpr float AngleStep = 0.25f;

void SendFace(const Scene& scene, bool front) {
  ImmediateGL gl;
  SendCrystalFace(gl, scene.crystalModel, scene.latticeSize, front);
}

}  // namespace

void ResetCrystalTurn(Scene& scene) {
  scene.crystalAngle = 0.0f;
  scene.crystalAngleStep = 0.0f;
}

void AdvanceCrystalTurn(Scene& scene) {
  scene.crystalAngle = static_cast<float>(static_cast<double>(scene.crystalAngle) + scene.crystalAngleStep);
  if (scene.crystalAngle >= TurnLimit) {
    scene.crystalAngle = RestartAngle;
    GenerateCrystal(scene);
  }
  // The first frame draws at 0 degrees; turning starts from the second.
  if (scene.crystalAngleStep == 0.0f) scene.crystalAngleStep = AngleStep;
}

void EmitCrystalWith(const Scene& scene, void (*sendFace)(const Scene& scene, bool front)) {
  const bool faces[2] = {true, false};
  for (const bool front : faces) {
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glRotatef(scene.crystalAngle, 0.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    sendFace(scene, front);
    glEnd();
    glPopMatrix();
  }
}

void EmitCrystal(const Scene& scene) { EmitCrystalWith(scene, SendFace); }

void DrawCrystal(Scene& scene) {
  AdvanceCrystalTurn(scene);
  EmitCrystal(scene);
}
