#pragma once
#include "crystal/crystal_model.h"
#include "common/triangle_normal.h"

namespace crystal_detail {

struct LatticePoint {
  int s, i, j;
};

// A point takes part only when its alpha is a number other than zero.
inline bool IsVisible(const CrystalModelData& m, const LatticePoint& p) {
  const float alpha = m.alpha[p.s][p.i][p.j];
  return alpha == alpha && alpha != 0.0f;
}

template <typename Sink>
void SendTriangle(Sink& sink, const CrystalModelData& m, const LatticePoint& p, const LatticePoint& q, const LatticePoint& r,
                  const LatticeField& z) {
  const LatticePoint* corners[3] = {&p, &q, &r};
  float position[3][3];
  for (int k = 0; k < 3; ++k) {
    const LatticePoint& c = *corners[k];
    position[k][0] = m.x[c.s][c.i][c.j];
    position[k][1] = m.y[c.s][c.i][c.j];
    position[k][2] = z[c.s][c.i][c.j];
  }
  float normal[3];
  TriangleNormal(position[0], position[1], position[2], normal);
  sink.Normal(normal);
  for (int k = 0; k < 3; ++k) {
    const LatticePoint& c = *corners[k];
    const float colour[4] = {m.red[c.s][c.i][c.j], m.green[c.s][c.i][c.j], m.blue[c.s][c.i][c.j],
                             m.alpha[c.s][c.i][c.j]};
    sink.Colour4(colour);
    sink.Vertex(position[k]);
  }
}

}  // namespace crystal_detail

// One face of the plate, cell by cell: the outer triangle (A, B, C) and the
// inner one (A, B, D), each only when all its corners are visible. The back
// face is mirrored in z, so its triangles go in the opposite order to stay
// front-facing from behind.
template <typename Sink>
void SendCrystalFace(Sink& sink, const CrystalModelData& m, int latticeSize, bool front) {
  using crystal_detail::IsVisible;
  using crystal_detail::LatticePoint;
  using crystal_detail::SendTriangle;
  const LatticeField& z = front ? m.zFront : m.zBack;
  const int n = latticeSize;
  for (int s = 0; s < CrystalSectors; ++s) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j <= i; ++j) {
        const LatticePoint a{s, i, j}, b{s, i + 1, j + 1}, c{s, i + 1, j}, d{s, i, j + 1};
        if (!IsVisible(m, a) || !IsVisible(m, b)) continue;
        if (IsVisible(m, c)) {
          if (front) SendTriangle(sink, m, a, c, b, z);
          else SendTriangle(sink, m, a, b, c, z);
        }
        // The last cell of a row has no fourth corner.
        if (j < i && IsVisible(m, d)) {
          if (front) SendTriangle(sink, m, a, b, d, z);
          else SendTriangle(sink, m, a, d, b, z);
        }
      }
    }
  }
}
