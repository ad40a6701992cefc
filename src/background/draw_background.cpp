#include "background/draw_background.h"

#include "background/background_phases.h"
#include "background/background_triangles.h"
#include "background/colour_field.h"
#include "common/immediate_gl.h"
#include "render/scene.h"

void AdvanceBackground(Scene& scene) {
  AdvanceBackgroundPhases(scene);
  ComputeBackgroundColours(scene);
}

void EmitBackgroundWith(const Scene& scene, void (*sendTriangles)(const Scene& scene)) {
  glPushMatrix();
  glTranslatef(0.0f, 0.0f, -7.8f);
  glBegin(GL_TRIANGLES);
  sendTriangles(scene);
  glEnd();
  glPopMatrix();
}

void EmitBackground(const Scene& scene) {
  EmitBackgroundWith(scene, [](const Scene& s) {
    ImmediateGL gl;
    SendBackgroundTriangles(gl, s);
  });
}

void DrawBackground(Scene& scene) {
  AdvanceBackground(scene);
  EmitBackground(scene);
}
