#include "background/draw_background.h"

#include <cmath>

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "common/gl.h"
#include "crystal/triangle_normal.h"

namespace {

inline float Store(double value) { return static_cast<float>(value); }

double SineSquared(double angle) {
  const double s = std::sin(angle);
  return s * s;
}

struct GridVertex {
  int i, j;
};

void GridPosition(const GridVertex& v, float position[3]) {
  position[0] = BackgroundGrid.x[v.i][v.j];
  position[1] = BackgroundGrid.y[v.i][v.j];
  position[2] = BackgroundGrid.depth[v.i][v.j];
}

void EmitVertex(const GridVertex& v, const float position[3]) {
  const float colour[3] = {BackgroundGrid.red[v.i][v.j], BackgroundGrid.green[v.i][v.j],
                           BackgroundGrid.blue[v.i][v.j]};
  glColor3fv(colour);
  glVertex3fv(position);
}

void EmitTriangle(const GridVertex& p, const GridVertex& q, const GridVertex& r) {
  float a[3], b[3], c[3], normal[3];
  GridPosition(p, a);
  GridPosition(q, b);
  GridPosition(r, c);
  TriangleNormal(a, b, c, normal);
  glNormal3fv(normal);
  EmitVertex(p, a);
  EmitVertex(q, b);
  EmitVertex(r, c);
}

}  // namespace

float FinishColourChannel(double raw) {
  float value = Store(raw);
  if (value > 1) value = Store(2.0 - value);
  return Store(std::sqrt(static_cast<double>(value)) - 0.2);
}

void ComputeBackgroundColours() {
  const BackgroundPhasesData& ph = BackgroundPhases;
  const int rows = BackgroundGrid.rows;
  for (int i = 0; i <= rows; ++i) {
    for (int j = 0; j <= BackgroundGrid.cols; ++j) {
      // Both coordinates divide by the row count: the spacings are nearly
      // equal, so the field is not stretched.
      const float u = Store(static_cast<double>(j) / rows + ph.phaseA);
      const float v = Store(static_cast<double>(i) / rows + ph.phaseC);
      const double sinUsinV = std::sin(static_cast<double>(u)) * std::sin(static_cast<double>(v));
      const double p = sinUsinV * sinUsinV;
      BackgroundGrid.red[i][j] = FinishColourChannel(SineSquared(static_cast<double>(u) + ph.phaseA + ph.phaseB) + p);
      BackgroundGrid.green[i][j] = FinishColourChannel(SineSquared(static_cast<double>(v) + ph.phaseC + ph.phaseA) + p);
      BackgroundGrid.blue[i][j] = FinishColourChannel(SineSquared(static_cast<double>(u) + v - ph.phaseB) + p);
    }
  }
}

void AdvanceBackground() {
  AdvanceBackgroundPhases();
  ComputeBackgroundColours();
}

void EmitBackground() {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -7.8f);
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < BackgroundGrid.rows; ++i) {
    for (int j = 0; j < BackgroundGrid.cols; ++j) {
      const GridVertex p0{i, j}, p3{i, j + 1}, p2{i + 1, j}, p1{i + 1, j + 1};
      // The diagonal alternates with the row shift, keeping every triangle
      // counter-clockwise on screen.
      if (i % 2 == 0) {
        EmitTriangle(p0, p1, p2);
        EmitTriangle(p0, p3, p1);
      } else {
        EmitTriangle(p3, p1, p2);
        EmitTriangle(p0, p3, p2);
      }
    }
  }
  glEnd();
  glPopMatrix();
}

void DrawBackground() {
  AdvanceBackground();
  EmitBackground();
}
