#include "background/draw_background.h"

#include "background/background_phases.h"
#include "background/background_triangles.h"
#include "background/colour_field.h"
#include "common/immediate_gl.h"

void AdvanceBackground() {
  AdvanceBackgroundPhases();
  ComputeBackgroundColours();
}

void EmitBackgroundWith(void (*sendTriangles)()) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -7.8f);
  glBegin(GL_TRIANGLES);
  sendTriangles();
  glEnd();
  glPopMatrix();
}

void EmitBackground() {
  EmitBackgroundWith([] {
    ImmediateGL gl;
    SendBackgroundTriangles(gl);
  });
}

void DrawBackground() {
  AdvanceBackground();
  EmitBackground();
}
