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

void EmitCrystalFace(const LatticeField& z, bool front) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -1.0f);
  glRotatef(CrystalAngle, 0.0f, 1.0f, 0.0f);
  glBegin(GL_TRIANGLES);
  ImmediateGL gl;
  SendCrystalFace(gl, z, front);
  glEnd();
  glPopMatrix();
}

}  // namespace

void AdvanceCrystalTurn() {
  CrystalAngle = static_cast<float>(static_cast<double>(CrystalAngle) + CrystalAngleStep);
  if (CrystalAngle >= TurnLimit) {
    CrystalAngle = RestartAngle;
    GenerateCrystal();
  }
  // The first frame draws at 0 degrees; turning starts from the second.
  if (CrystalAngleStep == 0.0f) CrystalAngleStep = AngleStep;
}

void EmitCrystal() {
  EmitCrystalFace(CrystalModel.zFront, true);
  EmitCrystalFace(CrystalModel.zBack, false);
}

void DrawCrystal() {
  AdvanceCrystalTurn();
  EmitCrystal();
}
