#include "background/draw_background.h"

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "background/colour_field.h"
#include "common/gl.h"
#include "crystal/triangle_normal.h"

namespace {

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
