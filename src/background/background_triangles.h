#pragma once
#include "background/background_state.h"
#include "common/triangle_normal.h"

// The mesh's two triangles of cell (i, j), as corners (row, column) in
// drawing order. Corners: P0 (i, j), P1 (i+1, j+1), P2 (i+1, j), P3 (i, j+1).
// The diagonal alternates with the row shift, keeping every triangle
// counter-clockwise on screen.
struct CellTriangles {
  int corner[2][3][2];
};

inline CellTriangles TrianglesOfCell(int i, int j) {
  const int up = i + 1, right = j + 1;
  if (i % 2 == 0) return {{{{i, j}, {up, right}, {up, j}}, {{i, j}, {i, right}, {up, right}}}};  // P0 P1 P2, P0 P3 P1
  return {{{{i, right}, {up, right}, {up, j}}, {{i, j}, {i, right}, {up, j}}}};                   // P3 P1 P2, P0 P3 P2
}

// The mesh's triangles in drawing order, two per cell: the face normal, then
// a colour and a position per corner.
template <typename Sink>
void SendBackgroundTriangles(Sink& sink, const BackgroundState& background) {
  const BackgroundGridData& g = background.grid;
  for (int i = 0; i < g.rows; ++i) {
    for (int j = 0; j < g.cols; ++j) {
      const CellTriangles cell = TrianglesOfCell(i, j);
      for (int t = 0; t < 2; ++t) {
        sink.Normal(background.normals[i][j][t]);
        for (const auto& corner : cell.corner[t]) {
          const int r = corner[0], c = corner[1];
          const float colour[3] = {g.red[r][c], g.green[r][c], g.blue[r][c]};
          const float position[3] = {g.x[r][c], g.y[r][c], g.depth[r][c]};
          sink.Colour3(colour);
          sink.Vertex(position);
        }
      }
    }
  }
}
