#include "crystal/draw_crystal.h"

#include "common/gl.h"
#include "crystal/crystal_model.h"
#include "crystal/triangle_normal.h"

float CrystalAngle = 0.0f;
float CrystalAngleStep = 0.0f;

namespace {

constexpr float TurnLimit = 450.0f;
// 450 and 90 degrees are the same orientation, so restarting never jumps.
constexpr float RestartAngle = 90.0f;
constexpr float AngleStep = 0.25f;

struct LatticePoint {
  int s, i, j;
};

// A point takes part only when its alpha is a number other than zero.
bool IsVisible(const LatticePoint& p) {
  const float alpha = CrystalModel.alpha[p.s][p.i][p.j];
  return alpha == alpha && alpha != 0.0f;
}

void PointPosition(const LatticePoint& p, const LatticeField& z, float position[3]) {
  position[0] = CrystalModel.x[p.s][p.i][p.j];
  position[1] = CrystalModel.y[p.s][p.i][p.j];
  position[2] = z[p.s][p.i][p.j];
}

void EmitVertex(const LatticePoint& p, const float position[3]) {
  const float colour[4] = {CrystalModel.red[p.s][p.i][p.j], CrystalModel.green[p.s][p.i][p.j],
                           CrystalModel.blue[p.s][p.i][p.j], CrystalModel.alpha[p.s][p.i][p.j]};
  glColor4fv(colour);
  glVertex3fv(position);
}

void EmitTriangle(const LatticePoint& p, const LatticePoint& q, const LatticePoint& r,
                  const LatticeField& z) {
  float a[3], b[3], c[3], normal[3];
  PointPosition(p, z, a);
  PointPosition(q, z, b);
  PointPosition(r, z, c);
  TriangleNormal(a, b, c, normal);
  glNormal3fv(normal);
  EmitVertex(p, a);
  EmitVertex(q, b);
  EmitVertex(r, c);
}

// One face of the plate. The back face is mirrored in z, so its triangles are
// sent in the opposite order to stay front-facing from behind.
void EmitCrystalFace(const LatticeField& z, bool front) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -1.0f);
  glRotatef(CrystalAngle, 0.0f, 1.0f, 0.0f);
  glBegin(GL_TRIANGLES);
  const int n = LatticeSize;
  for (int s = 0; s < CrystalSectors; ++s) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j <= i; ++j) {
        const LatticePoint a{s, i, j}, b{s, i + 1, j + 1}, c{s, i + 1, j}, d{s, i, j + 1};
        const bool abVisible = IsVisible(a) && IsVisible(b);
        if (abVisible && IsVisible(c)) {
          if (front) EmitTriangle(a, c, b, z);
          else EmitTriangle(a, b, c, z);
        }
        if (abVisible && j < i && IsVisible(d)) {
          if (front) EmitTriangle(a, b, d, z);
          else EmitTriangle(a, d, b, z);
        }
      }
    }
  }
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
