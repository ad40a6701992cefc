#include <gtest/gtest.h>

#include <cmath>

#include "common/random.h"
#include "crystal/crystal_model.h"
#include "crystal/orbit_log.h"
#include "render/scene.h"
#include "test_scene.h"

namespace {

constexpr int N = 20;

// Seven significant digits, as the worked values are quoted.
void ExpectClose7(double expected, float actual) {
  EXPECT_NEAR(expected, actual, std::fabs(expected) * 1e-6 + 1e-12) << "expected " << expected;
}

struct EscapeExample {
  int i, j;
  double startRe, startIm;
  int step;
  double logMagnitude;
  float level;
};

class CrystalForShapeZero : public ::testing::Test {
 protected:
  void SetUp() override { GenerateCrystalWithShape(scene.crystal, 0.0f, 0.0f, 0.0f); }
};

TEST_F(CrystalForShapeZero, OrbitsEscapeAtTheWorkedSteps) {
  const EscapeExample examples[] = {
      {0, 0, 0.42, -0.42, 14, 1.671335, -0.03302231f},
      {8, 0, 0.828, -0.322, 33, 1.389076, 0.5f},
      {10, 0, 0.93, -0.2975, 40, 1.715936, 0.7f},
      {14, 5, 1.134, -0.351, 51, 0.0, 0.9f},
      {16, 1, 1.236, -0.2444999963, 51, 0.0, 0.9f},
      {16, 15, 1.236, -0.2445000112, 38, 1.453833, 0.5f},
  };
  for (const EscapeExample& e : examples) {
    SCOPED_TRACE(::testing::Message() << "point (" << e.i << ", " << e.j << ")");
    const OrbitEscape escape = RunCrystalOrbit(scene.crystal, e.i, e.j);
    ExpectClose7(e.startRe, scene.crystal.orbit.orbitRe[0]);
    // The mirrored pair at row 16 is quoted to ten digits: it differs in the last bit.
    EXPECT_NEAR(e.startIm, scene.crystal.orbit.orbitIm[0], e.i == 16 ? 1e-9 : 1e-7);
    EXPECT_EQ(e.step, escape.step);
    ExpectClose7(e.logMagnitude, escape.logMagnitude);
    ExpectClose7(e.level, scene.crystal.model.level[0][e.i][e.j]);
  }
}

TEST_F(CrystalForShapeZero, ApexOrbitFollowsTheWorkedValues) {
  RunCrystalOrbit(scene.crystal, 0, 0);
  ExpectClose7(-0.2078047, scene.crystal.orbit.orbitLog[0]);
  ExpectClose7(-0.7631828, scene.crystal.orbit.orbitRe[1]);
  ExpectClose7(-0.03279998, scene.crystal.orbit.orbitIm[1]);
  ExpectClose7(-0.1073915, scene.crystal.orbit.orbitLog[1]);
  ExpectClose7(16.04015, scene.crystal.orbit.orbitRe[14]);
  ExpectClose7(-63.25517, scene.crystal.orbit.orbitIm[14]);
}

TEST_F(CrystalForShapeZero, MirroredPointsDifferOnlyInTheLastBitOfY) {
  EXPECT_NEAR(-0.1435000002, scene.crystal.model.y[0][16][1], 1e-10);
  EXPECT_NEAR(0.1434999853, scene.crystal.model.y[0][16][15], 1e-10);
}

TEST_F(CrystalForShapeZero, CountsOfEachKindOfPoint) {
  int solid5 = 0, solid7 = 0, solid9 = 0, rimOrHalo = 0, empty = 0, solidRim = 0;
  for (int i = 0; i <= N; ++i) {
    for (int j = 0; j <= i; ++j) {
      const float level = scene.crystal.model.level[0][i][j];
      const float alpha = scene.crystal.model.alpha[0][i][j];
      if (level == 0.5f) ++solid5;
      if (level == 0.7f) ++solid7;
      if (level == 0.9f) ++solid9;
      if (level > 0.1f && i == N) ++solidRim;
      if (alpha == 0.0f) ++empty;
      if (std::fabs(alpha - 0.2f) < 1e-6f) ++rimOrHalo;
    }
  }
  EXPECT_EQ(31, solid5);
  EXPECT_EQ(4, solid7);
  EXPECT_EQ(3, solid9);
  EXPECT_EQ(2, solidRim);  // (20, 1) and (20, 19)
  EXPECT_EQ(80, empty);
  // 94 halo points plus the 21 rim points, two of which are solid-level.
  EXPECT_EQ(94 + 21, rimOrHalo);
  for (auto [i, j] : {std::pair{10, 0}, {10, 10}, {19, 0}, {19, 19}}) EXPECT_EQ(0.7f, scene.crystal.model.level[0][i][j]);
  for (auto [i, j] : {std::pair{14, 5}, {14, 9}, {16, 1}}) EXPECT_EQ(0.9f, scene.crystal.model.level[0][i][j]);
}

TEST_F(CrystalForShapeZero, EveryPointIsOneOfTheFiveKinds) {
  struct Kind {
    float alpha, zFront;
  };
  const Kind kinds[] = {{0.0f, -0.002f},
                        {0.2f, 2.980232e-11f},
                        {0.5013214f, 0.01481793f},
                        {0.6405266f, 0.01629382f},
                        {0.7835165f, 0.01748008f}};
  for (int i = 0; i <= N; ++i) {
    for (int j = 0; j <= i; ++j) {
      const float alpha = scene.crystal.model.alpha[0][i][j];
      const float zFront = scene.crystal.model.zFront[0][i][j];
      bool matched = false;
      for (const Kind& k : kinds) {
        if (std::fabs(alpha - k.alpha) <= 1e-6f * std::fabs(k.alpha) + 1e-7f &&
            std::fabs(zFront - k.zFront) <= 1e-6f * std::fabs(k.zFront) + 1e-16f)
          matched = true;
      }
      EXPECT_TRUE(matched) << "(" << i << ", " << j << ") alpha " << alpha << " zFront " << zFront;
      EXPECT_EQ(-zFront, scene.crystal.model.zBack[0][i][j]);
    }
  }
}

TEST_F(CrystalForShapeZero, EveryOuterTriangleWithASolidCornerIsFullyVisible) {
  for (int i = 0; i < N; ++i) {
    for (int j = 0; j <= i; ++j) {
      const float* corners[3] = {&scene.crystal.model.level[0][i][j], &scene.crystal.model.level[0][i + 1][j],
                                 &scene.crystal.model.level[0][i + 1][j + 1]};
      bool solid = false;
      for (const float* level : corners) solid = solid || *level > 0.1f;
      if (!solid) continue;
      EXPECT_NE(0.0f, scene.crystal.model.alpha[0][i][j]);
      EXPECT_NE(0.0f, scene.crystal.model.alpha[0][i + 1][j]);
      EXPECT_NE(0.0f, scene.crystal.model.alpha[0][i + 1][j + 1]);
    }
  }
}

TEST(CrystalGeneration, SectorsAreRotatedCopiesOfTheBase) {
  GenerateCrystalWithShape(scene.crystal, 0.123f, 0.456f, 0.789f);
  for (int s = 1; s < CrystalSectors; ++s) {
    const double theta = static_cast<float>(s * 3.14159265358979323846 / 3);
    for (int i = 0; i <= N; ++i) {
      for (int j = 0; j <= i; ++j) {
        const double x0 = scene.crystal.model.x[0][i][j], y0 = scene.crystal.model.y[0][i][j];
        EXPECT_NEAR(std::cos(theta) * x0 - std::sin(theta) * y0, scene.crystal.model.x[s][i][j], 1e-7);
        EXPECT_NEAR(std::sin(theta) * x0 + std::cos(theta) * y0, scene.crystal.model.y[s][i][j], 1e-7);
        EXPECT_EQ(scene.crystal.model.alpha[0][i][j], scene.crystal.model.alpha[s][i][j]);
        EXPECT_EQ(scene.crystal.model.zFront[0][i][j], scene.crystal.model.zFront[s][i][j]);
        EXPECT_EQ(scene.crystal.model.zBack[0][i][j], scene.crystal.model.zBack[s][i][j]);
        EXPECT_EQ(1.0f, scene.crystal.model.red[s][i][j]);
      }
    }
  }
  EXPECT_EQ(0.0f, scene.crystal.model.x[3][0][0]);
  EXPECT_EQ(0.0f, scene.crystal.model.y[5][0][0]);
  // The outer row spans two corners of the hexagon.
  EXPECT_NEAR(0.355, scene.crystal.model.x[0][N][0], 1e-7);
  EXPECT_NEAR(-0.205, scene.crystal.model.y[0][N][0], 1e-6);
  EXPECT_NEAR(0.205, scene.crystal.model.y[0][N][N], 1e-6);
}

TEST(CrystalGeneration, RegrowingLeavesNothingOfThePreviousCrystal) {
  GenerateCrystalWithShape(scene.crystal, 0.5f, 0.9f, 0.1f);
  GenerateCrystalWithShape(scene.crystal, 0.0f, 0.0f, 0.0f);
  const float alpha = scene.crystal.model.alpha[2][7][3];
  const float zFront = scene.crystal.model.zFront[4][12][6];
  GenerateCrystalWithShape(scene.crystal, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(alpha, scene.crystal.model.alpha[2][7][3]);
  EXPECT_EQ(zFront, scene.crystal.model.zFront[4][12][6]);
  // Storage beyond a row's last column is never written.
  EXPECT_EQ(0.0f, scene.crystal.model.alpha[0][3][4]);
}

TEST(CrystalGeneration, DrawsExactlyThreeShapeParameters) {
  SeedRandom(scene.random, 42);
  const float p1 = Random(scene.random, 1000) / 1000.0f, p2 = Random(scene.random, 1000) / 1000.0f, p3 = Random(scene.random, 1000) / 1000.0f;
  const uint32_t after = scene.random.seed;
  SeedRandom(scene.random, 42);
  GenerateCrystal(scene.crystal, scene.random);
  EXPECT_EQ(after, scene.random.seed);
  EXPECT_EQ(p1, scene.crystal.shape.shapeP1);
  EXPECT_EQ(p2, scene.crystal.shape.shapeP2);
  EXPECT_EQ(p3, scene.crystal.shape.shapeP3);
  EXPECT_EQ(20, scene.crystal.latticeSize);
}

float DirectLogMagnitude(float re, float im) {
  return static_cast<float>(0.2 * std::log(static_cast<double>(re) * re + static_cast<double>(im) * im + 0.001));
}

// The orbit's fast log must store the very float that std::log gives.
TEST(OrbitLogMagnitude, StoresTheFloatOfTheDirectLogarithm) {
  uint32_t state = 2026;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<int32_t>(state);
  };
  for (int n = 0; n < 1000000; ++n) {
    // Orbit values range from hundredths to a few hundred.
    const float scale = std::ldexp(1.0f, n % 18 - 8);
    const float re = next() / 2147483648.0f * scale;
    const float im = next() / 2147483648.0f * scale;
    ASSERT_EQ(DirectLogMagnitude(re, im), OrbitLogMagnitude(re, im)) << re << ", " << im;
  }
}

// Inputs found by search where the table and series alone store a float one
// step away from std::log's: near a rounding boundary, and near ln 1 = 0.
TEST(OrbitLogMagnitude, FallsBackWhereTheSeriesWouldRoundDifferently) {
  EXPECT_EQ(DirectLogMagnitude(3.42518353f, 2.76799989f), OrbitLogMagnitude(3.42518353f, 2.76799989f));
  EXPECT_EQ(DirectLogMagnitude(0.905777037f, 0.345999986f), OrbitLogMagnitude(0.905777037f, 0.345999986f));
  EXPECT_EQ(DirectLogMagnitude(0.854189098f, 0.518999994f), OrbitLogMagnitude(0.854189098f, 0.518999994f));
}

}  // namespace
