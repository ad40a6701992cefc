#include "crystal/draw_crystal.h"

#include "common/immediate_gl.h"
#include "crystal/crystal_triangles.h"
#include "common/random.h"

namespace {

constexpr float TurnLimit = 450.0f;
// 450 and 90 degrees are the same orientation, so restarting never jumps.
constexpr float RestartAngle = 90.0f;
constexpr float AngleStep = 0.25f;

void SendFace(const CrystalState& crystal, bool front) {
  ImmediateGL gl;
  SendCrystalFace(gl, crystal.model, crystal.latticeSize, front);
}

}  // namespace

void ResetCrystalTurn(CrystalState& crystal) {
  crystal.angle = 0.0f;
  crystal.angleStep = 0.0f;
}

void AdvanceCrystalTurn(CrystalState& crystal, RandomGenerator& random) {
  crystal.angle = static_cast<float>(static_cast<double>(crystal.angle) + crystal.angleStep);
  if (crystal.angle >= TurnLimit) {
    crystal.angle = RestartAngle;
    GenerateCrystal(crystal, random);
  }
  // The first frame draws at 0 degrees; turning starts from the second.
  if (crystal.angleStep == 0.0f) crystal.angleStep = AngleStep;
}

void EmitCrystalWith(const CrystalState& crystal, void (*sendFace)(const CrystalState& crystal, bool front)) {
  const bool faces[2] = {true, false};
  for (const bool front : faces) {
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glRotatef(crystal.angle, 0.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    sendFace(crystal, front);
    glEnd();
    glPopMatrix();
  }
}

void EmitCrystal(const CrystalState& crystal) { EmitCrystalWith(crystal, SendFace); }
