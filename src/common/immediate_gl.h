#pragma once
#include "common/gl.h"

// The per-vertex calls the drawing loops make. The loops are written against
// any type with these four members, so a recorder can capture exactly the
// stream the GL receives.
struct ImmediateGL {
  void Normal(const float n[3]) { glNormal3fv(n); }
  void Colour3(const float c[3]) { glColor3fv(c); }
  void Colour4(const float c[4]) { glColor4fv(c); }
  void Vertex(const float v[3]) { glVertex3fv(v); }
};
