#include <cmath>

#include "background/background_grid.h"
#include "background/background_triangles.h"
#include "common/random.h"
#include "common/store.h"
#include "common/viewport.h"

namespace {

// Columns 0 and C hold a depth none of the interior draws can give.
constexpr float EdgeDepth = 0.81f;

bool SharesDepthWithEarlierNeighbour(const GridField& d, int i, int j, float depth) {
  if (i > 0 && d[i - 1][j] == depth) return true;
  if (j > 0 && d[i][j - 1] == depth) return true;
  if (i > 0 && j > 0 && d[i - 1][j - 1] == depth) return true;
  return false;
}

float DrawDepth(RandomGenerator& random) { return Store(Random(random, 10) / 150.0 + 0.8); }

void ComputeCellNormals(const BackgroundGridData& g, CellNormals& normals) {
  for (int i = 0; i < g.rows; ++i) {
    for (int j = 0; j < g.cols; ++j) {
      const CellTriangles cell = TrianglesOfCell(i, j);
      for (int t = 0; t < 2; ++t) {
        float corners[3][3];
        for (int k = 0; k < 3; ++k) {
          const int r = cell.corner[t][k][0], c = cell.corner[t][k][1];
          corners[k][0] = g.x[r][c];
          corners[k][1] = g.y[r][c];
          corners[k][2] = g.depth[r][c];
        }
        TriangleNormal(corners[0], corners[1], corners[2], normals[i][j][t]);
      }
    }
  }
}

}  // namespace

int32_t BackgroundGridColumns(int32_t rows, int32_t width, int32_t height) {
  // A zero-height window counts as one pixel high rather than dividing by zero.
  const int64_t product = static_cast<int64_t>(rows) * width;
  const double columns = std::nearbyint(static_cast<double>(product) / (height > 0 ? height : 1));
  if (!(columns >= BackgroundMinCols)) return BackgroundMinCols;
  if (columns > BackgroundMaxCols - 1) return BackgroundMaxCols - 1;
  return static_cast<int32_t>(columns);
}

void LayoutBackgroundGrid(BackgroundGridData& grid, CellNormals& normals, RandomGenerator& random,
                          const ViewportSizeData& viewportSize, bool preview) {
  const int32_t rows = preview ? PreviewGridRows : FullScreenGridRows;
  const int32_t cols = BackgroundGridColumns(rows, viewportSize.width, viewportSize.height);
  grid.rows = rows;
  grid.cols = cols;
  const double widthScale = ViewportAspect(viewportSize) * (preview ? 6.0 : 6.1);
  for (int i = 0; i <= rows; ++i) {
    // Every other row shifts by half a column, so the cells split into near-isosceles triangles.
    const double rowOffset = (i % 2 == 0) ? 1.0 : -1.0;
    const double y0 = (2.0 * i / rows - 1) * 3;
    for (int j = 0; j <= cols; ++j) {
      const double x0 = (rowOffset / (4.0 * cols) + static_cast<double>(j) / cols - 0.5) * widthScale;
      if (preview) {
        grid.x[i][j] = Store(x0);
        grid.y[i][j] = Store(y0);
        grid.depth[i][j] = DrawDepth(random);
      } else {
        const double a1 = Random(random, 100) / 10000.0;
        const double a2 = Random(random, 100) / 10000.0;
        grid.x[i][j] = Store(a1 + x0 - a2);
        const double b1 = Random(random, 100) / 10000.0;
        const double b2 = Random(random, 100) / 10000.0;
        grid.y[i][j] = Store(b1 + y0 - b2);
        // Neighbours at distinct depths tilt every triangle against the next.
        float depth = DrawDepth(random);
        while (SharesDepthWithEarlierNeighbour(grid.depth, i, j, depth)) depth = DrawDepth(random);
        grid.depth[i][j] = depth;
      }
      if (j == 0 || j == cols) grid.depth[i][j] = EdgeDepth;
    }
  }
  ComputeCellNormals(grid, normals);
}
