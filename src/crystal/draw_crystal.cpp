#include "crystal/draw_crystal.h"

#include "common/immediate_gl.h"
#include "crystal/crystal_triangles.h"

float CrystalAngle = 0.0f;
float CrystalAngleStep = 0.0f;

namespace {

constexpr float TurnLimit = 450.0f;
// 450 and 90 degrees are the same orientation, so restarting never jumps.
constexpr float RestartAngle = 90.0f;
constexpr float AngleStep = 0.25f;

void SendFace(bool front) {
  ImmediateGL gl;
  SendCrystalFace(gl, front ? CrystalModel.zFront : CrystalModel.zBack, front);
}

}  // namespace

void ResetCrystalTurn() {
  CrystalAngle = 0.0f;
  CrystalAngleStep = 0.0f;
}

void AdvanceCrystalTurn() {
  CrystalAngle = static_cast<float>(static_cast<double>(CrystalAngle) + CrystalAngleStep);
  if (CrystalAngle >= TurnLimit) {
    CrystalAngle = RestartAngle;
    GenerateCrystal();
  }
  // The first frame draws at 0 degrees; turning starts from the second.
  if (CrystalAngleStep == 0.0f) CrystalAngleStep = AngleStep;
}

void EmitCrystalWith(void (*sendFace)(bool front)) {
  const bool faces[2] = {true, false};
  for (const bool front : faces) {
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glRotatef(CrystalAngle, 0.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    sendFace(front);
    glEnd();
    glPopMatrix();
  }
}

void EmitCrystal() { EmitCrystalWith(SendFace); }

void DrawCrystal() {
  AdvanceCrystalTurn();
  EmitCrystal();
}
