#pragma once
#include "background/background_grid.h"
#include "crystal/triangle_normal.h"

namespace background_detail {

template <typename Sink>
void SendVertex(Sink& sink, int i, int j, const float position[3]) {
  const float colour[3] = {BackgroundGrid.red[i][j], BackgroundGrid.green[i][j], BackgroundGrid.blue[i][j]};
  sink.Colour3(colour);
  sink.Vertex(position);
}

template <typename Sink>
void SendTriangle(Sink& sink, int ai, int aj, int bi, int bj, int ci, int cj) {
  const BackgroundGridData& g = BackgroundGrid;
  const float a[3] = {g.x[ai][aj], g.y[ai][aj], g.depth[ai][aj]};
  const float b[3] = {g.x[bi][bj], g.y[bi][bj], g.depth[bi][bj]};
  const float c[3] = {g.x[ci][cj], g.y[ci][cj], g.depth[ci][cj]};
  float normal[3];
  TriangleNormal(a, b, c, normal);
  sink.Normal(normal);
  SendVertex(sink, ai, aj, a);
  SendVertex(sink, bi, bj, b);
  SendVertex(sink, ci, cj, c);
}

}  // namespace background_detail

// The mesh's triangles in drawing order, two per cell: one normal, then a
// colour and a position per corner.
template <typename Sink>
void SendBackgroundTriangles(Sink& sink) {
  using background_detail::SendTriangle;
  for (int i = 0; i < BackgroundGrid.rows; ++i) {
    const int up = i + 1;
    for (int j = 0; j < BackgroundGrid.cols; ++j) {
      const int right = j + 1;
      // Corners: P0 (i, j), P1 (up, right), P2 (up, j), P3 (i, right). The
      // diagonal alternates with the row shift, keeping every triangle
      // counter-clockwise on screen.
      if (i % 2 == 0) {
        SendTriangle(sink, i, j, up, right, up, j);     // P0 P1 P2
        SendTriangle(sink, i, j, i, right, up, right);  // P0 P3 P1
      } else {
        SendTriangle(sink, i, right, up, right, up, j);  // P3 P1 P2
        SendTriangle(sink, i, j, i, right, up, j);       // P0 P3 P2
      }
    }
  }
}
