#include <gtest/gtest.h>

#include <cmath>

#include "background/background_grid.h"
#include "common/random.h"
#include "common/viewport.h"
#include "render/scene.h"
#include "test_scene.h"

namespace {

void Layout(int32_t width, int32_t height, bool preview, uint32_t seed = 99) {
  scene.viewportSize = {width, height};
  SeedRandom(scene.random, seed);
  LayoutBackgroundGrid(scene.background.grid, scene.background.normals, scene.random, scene.viewportSize, preview);
}

bool IsInteriorDepth(float depth) {
  for (int k = 0; k < 10; ++k) {
    if (depth == static_cast<float>(k / 150.0 + 0.8)) return true;
  }
  return false;
}

TEST(BackgroundLayout, ColumnCountsFollowTheAspectRoundingHalvesToEven) {
  EXPECT_EQ(142, BackgroundGridColumns(80, 1920, 1080));
  EXPECT_EQ(107, BackgroundGridColumns(80, 1024, 768));
  EXPECT_EQ(100, BackgroundGridColumns(80, 1280, 1024));
  EXPECT_EQ(50, BackgroundGridColumns(50, 101, 100));  // 50.5
  EXPECT_EQ(52, BackgroundGridColumns(50, 105, 100));  // 52.5
  Layout(1920, 1080, false);
  EXPECT_EQ(80, scene.background.grid.rows);
  EXPECT_EQ(142, scene.background.grid.cols);
  Layout(101, 100, true);
  EXPECT_EQ(50, scene.background.grid.rows);
  EXPECT_EQ(50, scene.background.grid.cols);
}

TEST(BackgroundLayout, FullScreenPositionsAreTheFormulaWithinTheJitter) {
  Layout(1920, 1080, false);
  EXPECT_NEAR(-5.403, scene.background.grid.x[0][0], 0.0099 + 0.0005);
  EXPECT_NEAR(-3.0, scene.background.grid.y[0][0], 0.0099 + 1e-6);
  EXPECT_NEAR(-5.441, scene.background.grid.x[1][0], 0.0099 + 0.0005);
  const double aspect = 1920.0 / 1080.0;
  for (int i = 0; i <= 80; ++i) {
    const double t = i % 2 == 0 ? 1 : -1;
    for (int j = 0; j <= 142; ++j) {
      const double x0 = (t / (4 * 142.0) + j / 142.0 - 0.5) * aspect * 6.1;
      const double y0 = (2.0 * i / 80 - 1) * 3;
      ASSERT_LE(std::fabs(scene.background.grid.x[i][j] - x0), 0.0099 + 1e-5) << i << "," << j;
      ASSERT_LE(std::fabs(scene.background.grid.y[i][j] - y0), 0.0099 + 1e-5) << i << "," << j;
    }
  }
}

TEST(BackgroundLayout, FullScreenNeighboursNeverShareADepthExceptAtTheEdges) {
  Layout(1920, 1080, false, 2024);
  const GridField& d = scene.background.grid.depth;
  const int rows = scene.background.grid.rows, cols = scene.background.grid.cols;
  int sharedOtherDiagonal = 0;
  for (int i = 0; i <= rows; ++i) {
    EXPECT_EQ(0.81f, d[i][0]);
    EXPECT_EQ(0.81f, d[i][cols]);
    for (int j = 1; j < cols; ++j) {
      ASSERT_TRUE(IsInteriorDepth(d[i][j])) << i << "," << j;
      if (j + 1 < cols) {
        EXPECT_NE(d[i][j], d[i][j + 1]);
      }
      if (i < rows) {
        EXPECT_NE(d[i][j], d[i + 1][j]);
        if (j + 1 < cols) {
          EXPECT_NE(d[i][j], d[i + 1][j + 1]);
        }
        if (d[i][j + 1] == d[i + 1][j]) ++sharedOtherDiagonal;
      }
    }
  }
  // The other diagonal is not constrained, so some of its depths coincide.
  EXPECT_GT(sharedOtherDiagonal, 0);
}

TEST(BackgroundLayout, PreviewIsAPlainGridWithOneDrawPerVertex) {
  Layout(152, 112, true, 5);
  const uint32_t seedAfter = scene.random.seed;
  const int rows = scene.background.grid.rows, cols = scene.background.grid.cols;
  EXPECT_EQ(68, cols);  // 50 * 152 / 112 = 67.86
  SeedRandom(scene.random, 5);
  for (int k = 0; k < (rows + 1) * (cols + 1); ++k) Random(scene.random, 10);
  EXPECT_EQ(scene.random.seed, seedAfter);

  const double aspect = 152.0 / 112.0;
  for (int i = 0; i <= rows; ++i) {
    const double t = i % 2 == 0 ? 1 : -1;
    for (int j = 0; j <= cols; ++j) {
      EXPECT_EQ(static_cast<float>((t / (4.0 * cols) + static_cast<double>(j) / cols - 0.5) * aspect * 6.0),
                scene.background.grid.x[i][j]);
      EXPECT_EQ(scene.background.grid.y[i][0], scene.background.grid.y[i][j]);
      const float depth = scene.background.grid.depth[i][j];
      EXPECT_TRUE(j == 0 || j == cols ? depth == 0.81f : IsInteriorDepth(depth));
    }
  }
  EXPECT_EQ(-3.0f, scene.background.grid.y[0][0]);
  EXPECT_EQ(3.0f, scene.background.grid.y[rows][0]);
  // Another seed moves no vertex: only depths are random in the preview.
  const float x = scene.background.grid.x[17][23], y = scene.background.grid.y[17][23];
  Layout(152, 112, true, 6);
  EXPECT_EQ(x, scene.background.grid.x[17][23]);
  EXPECT_EQ(y, scene.background.grid.y[17][23]);
}

TEST(BackgroundLayout, AnyAspectFitsTheStoreAndSpansTheWindow) {
  EXPECT_EQ(284, BackgroundGridColumns(80, 5120, 1440));  // 32:9
  EXPECT_EQ(427, BackgroundGridColumns(80, 5760, 1080));  // three 16:9 side by side
  EXPECT_EQ(640, BackgroundGridColumns(80, 8000, 1000));  // 8:1
  EXPECT_EQ(BackgroundMaxCols - 1, BackgroundGridColumns(80, 20000, 1000));
  EXPECT_EQ(BackgroundMaxCols - 1, BackgroundGridColumns(80, 640, 0));
  EXPECT_EQ(BackgroundMinCols, BackgroundGridColumns(80, 1, 1000));
  EXPECT_EQ(BackgroundMinCols, BackgroundGridColumns(50, 0, 480));
  EXPECT_EQ(BackgroundMinCols, BackgroundGridColumns(80, -100, 480));

  // Seen from the eye, the mesh (drawn 7.8 units away, depths 0.8..0.86)
  // must reach past the window's sides whatever the aspect.
  const double halfHeightAtNearestMesh = (7.8 - 0.86) * std::tan(22.5 * 3.14159265358979 / 180);
  struct Window {
    int32_t width, height;
    bool preview;
  };
  for (const Window& w : {Window{5120, 1440, false}, Window{20000, 1000, false}, Window{400, 1600, false},
                          Window{10, 1000, true}, Window{1000, 2000, true}}) {
    Layout(w.width, w.height, w.preview);
    const double halfWidth = halfHeightAtNearestMesh * w.width / w.height;
    for (int i = 0; i <= scene.background.grid.rows; ++i) {
      ASSERT_LE(scene.background.grid.x[i][0], -halfWidth) << w.width << "x" << w.height << " row " << i;
      ASSERT_GE(scene.background.grid.x[i][scene.background.grid.cols], halfWidth) << w.width << "x" << w.height << " row " << i;
    }
    EXPECT_LE(scene.background.grid.y[0][1], -halfHeightAtNearestMesh);
    EXPECT_GE(scene.background.grid.y[scene.background.grid.rows][1], halfHeightAtNearestMesh);
  }
  // A window with no width or no height shows nothing, but lays out finite numbers.
  for (const Window& w : {Window{0, 480, false}, Window{640, 0, false}, Window{0, 0, true}}) {
    Layout(w.width, w.height, w.preview);
    for (int j = 0; j <= scene.background.grid.cols; ++j) ASSERT_TRUE(std::isfinite(scene.background.grid.x[40][j]));
  }
}

}  // namespace
