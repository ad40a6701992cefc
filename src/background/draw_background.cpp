#include "background/draw_background.h"

#include "background/background_phases.h"
#include "background/background_triangles.h"
#include "background/colour_field.h"
#include "common/immediate_gl.h"

void AdvanceBackground(BackgroundState& background, RandomGenerator& random) {
  AdvanceBackgroundPhases(background.phases, random);
  ComputeBackgroundColours(background);
}

void EmitBackgroundWith(const BackgroundState& background, void (*sendTriangles)(const BackgroundState& background)) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -7.8f);
  glBegin(GL_TRIANGLES);
  sendTriangles(background);
  glEnd();
  glPopMatrix();
}

void EmitBackground(const BackgroundState& background) {
  EmitBackgroundWith(background, [](const BackgroundState& b) {
    ImmediateGL gl;
    SendBackgroundTriangles(gl, b);
  });
}
