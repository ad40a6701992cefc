#include <gtest/gtest.h>

#include <cmath>

#include "common/random.h"
#include "common/triangle_normal.h"
#include "crystal/crystal_model.h"
#include "crystal/draw_crystal.h"
#include "render/scene.h"
#include "test_scene.h"

namespace {

TEST(TriangleNormal, IsTheUnnormalisedCrossProductOfTheEdges) {
  const float o[3] = {0, 0, 0}, ex[3] = {1, 0, 0}, ey[3] = {0, 1, 0};
  float n[3];
  TriangleNormal(o, ex, ey, n);
  EXPECT_EQ(0.0f, n[0]);
  EXPECT_EQ(0.0f, n[1]);
  EXPECT_EQ(1.0f, n[2]);
  TriangleNormal(o, ey, ex, n);
  EXPECT_EQ(-1.0f, n[2]);
  const float a[3] = {1, 1, 1}, b[3] = {3, 1, 1}, c[3] = {1, 3, 1};
  TriangleNormal(a, b, c, n);
  EXPECT_EQ(0.0f, n[0]);
  EXPECT_EQ(0.0f, n[1]);
  EXPECT_EQ(4.0f, n[2]);
  TriangleNormal(a, a, c, n);  // degenerate
  EXPECT_EQ(0.0f, n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
}

// The cross product is taken in double and rounded once: (1 + 2^-23)^2 - 9
// is 8 - 2^-21 in magnitude, where float products would round it to 8.
TEST(TriangleNormal, RoundsTheCrossProductOnce) {
  const float o[3] = {0, 0, 0};
  const float b[3] = {0, 1.00000012f, 3}, c[3] = {0, 3, 1.00000012f};
  float n[3];
  TriangleNormal(o, b, c, n);
  EXPECT_EQ(std::nextafter(-8.0f, 0.0f), n[0]);
}

class CrystalTurning : public ::testing::Test {
 protected:
  void SetUp() override {
    scene.crystal.angle = 0.0f;
    scene.crystal.angleStep = 0.0f;
    SeedRandom(scene.random, 7);
    GenerateCrystal(scene.crystal, scene.random);
  }
};

TEST_F(CrystalTurning, FirstFramesDrawAtZeroThenAQuarterDegreeMore) {
  AdvanceCrystalTurn(scene.crystal, scene.random);
  EXPECT_EQ(0.0f, scene.crystal.angle);
  AdvanceCrystalTurn(scene.crystal, scene.random);
  EXPECT_EQ(0.25f, scene.crystal.angle);
  AdvanceCrystalTurn(scene.crystal, scene.random);
  EXPECT_EQ(0.5f, scene.crystal.angle);
}

TEST_F(CrystalTurning, EachFullTurnRestartsAtNinetyWithANewCrystal) {
  const CrystalShapeData first = scene.crystal.shape;
  int framesOfFirst = 0;
  float highest = 0.0f;
  while (true) {
    const uint32_t seedBefore = scene.random.seed;
    AdvanceCrystalTurn(scene.crystal, scene.random);
    if (scene.random.seed != seedBefore) break;  // the regrowth draws three numbers
    highest = std::max(highest, scene.crystal.angle);
    ++framesOfFirst;
    ASSERT_LT(framesOfFirst, 5000);
  }
  EXPECT_EQ(1800, framesOfFirst);
  EXPECT_EQ(449.75f, highest);
  EXPECT_EQ(90.0f, scene.crystal.angle);  // the new crystal's first frame
  EXPECT_FALSE(first.shapeP1 == scene.crystal.shape.shapeP1 && first.shapeP2 == scene.crystal.shape.shapeP2 &&
               first.shapeP3 == scene.crystal.shape.shapeP3);

  int framesOfSecond = 1;
  while (true) {
    const uint32_t seedBefore = scene.random.seed;
    AdvanceCrystalTurn(scene.crystal, scene.random);
    ASSERT_LT(scene.crystal.angle, 450.0f);
    if (scene.random.seed != seedBefore) break;
    ++framesOfSecond;
  }
  EXPECT_EQ(1440, framesOfSecond);
}

}  // namespace
