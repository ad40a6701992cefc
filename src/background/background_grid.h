#pragma once
#include <cstdint>

constexpr int FullScreenGridRows = 80;
constexpr int PreviewGridRows = 50;
constexpr int BackgroundMaxRows = 101;
// Room for windows up to 8:1 (three 16:9 monitors side by side are 5.3:1);
// wider ones keep this many columns, stretched, still covering the window.
constexpr int BackgroundMaxCols = 8 * FullScreenGridRows + 1;
// A narrower mesh would leave the window's sides uncovered: its rows end a
// quarter column inside the mesh's span, and a column grows with the span.
constexpr int BackgroundMinCols = 12;

struct RandomGenerator;
struct ViewportSizeData;

using GridField = float[BackgroundMaxRows][BackgroundMaxCols];

struct BackgroundGridData {
  int32_t rows;  // index of the last vertex row
  int32_t cols;  // index of the last vertex column
  GridField x;
  GridField y;
  GridField depth;
  GridField red;
  GridField green;
  GridField blue;
};

// Face normals of the mesh's two triangles per cell, in drawing order. The
// positions never move after the layout, so neither do these; the frame
// reads them instead of taking 22,720 cross products again.
using CellNormals = float[BackgroundMaxRows - 1][BackgroundMaxCols - 1][2][3];

// Last column index for R rows over a W x H window, before any bound.
int32_t BackgroundGridColumns(int32_t rows, int32_t width, int32_t height);
// Lays out the vertex positions and depths, and the cell normals, for the
// viewport's aspect; draws from the generator (more in full screen, where
// positions jitter).
void LayoutBackgroundGrid(BackgroundGridData& grid, CellNormals& normals, RandomGenerator& random,
                          const ViewportSizeData& viewportSize, bool preview);
