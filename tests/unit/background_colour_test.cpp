#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "background/colour_field.h"
#include "bench/colour_field_reference.h"
#include "common/random.h"
#include "render/scene.h"
#include "test_scene.h"

namespace {

void ColourGrid(float a, float b, float c) {
  scene.background.grid.rows = 80;
  scene.background.grid.cols = 142;
  scene.background.phases = {a, 0.001f, b, 0.001f, c, 0.001f};
  ComputeBackgroundColours(scene.background);
}

TEST(BackgroundColour, ChannelsFoldIntoTheUnitRangeThenTakeTheRoot) {
  EXPECT_FLOAT_EQ(0.8f, FinishColourChannel(1.0));
  EXPECT_FLOAT_EQ(-0.2f, FinishColourChannel(2.0));
  EXPECT_FLOAT_EQ(-0.2f, FinishColourChannel(0.0));
  EXPECT_NEAR(0.50711, FinishColourChannel(1.5), 1e-5);
  EXPECT_EQ(FinishColourChannel(0.5), FinishColourChannel(1.5));
}

TEST(BackgroundColour, WorkedVertexMatches) {
  ColourGrid(0.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(-0.2f, scene.background.grid.red[0][0]);
  EXPECT_FLOAT_EQ(-0.2f, scene.background.grid.green[0][0]);
  EXPECT_FLOAT_EQ(-0.2f, scene.background.grid.blue[0][0]);

  ColourGrid(0.5f, 1.0f, 1.5f);
  EXPECT_NEAR(0.79477, scene.background.grid.red[40][20], 1e-5);
  EXPECT_NEAR(0.77822, scene.background.grid.green[40][20], 1e-5);
  EXPECT_NEAR(0.60474, scene.background.grid.blue[40][20], 1e-5);  // folded
}

TEST(BackgroundColour, EveryUsedVertexIsColouredWithinRange) {
  ColourGrid(3.1f, 5.9f, 0.2f);
  for (int i = 0; i <= 80; ++i) {
    for (int j = 0; j <= 142; ++j) {
      for (const GridField* channel : {&scene.background.grid.red, &scene.background.grid.green, &scene.background.grid.blue}) {
        const float value = (*channel)[i][j];
        ASSERT_GE(value, -0.2f);
        ASSERT_LE(value, 0.8f);
      }
    }
  }
}

TEST(BackgroundPhaseBounce, APhasePastTheTopTurnsBackTheSameFrame) {
  SeedRandom(scene.random, 1);
  scene.background.phases = {6.5f, 0.0015f, 1.0f, 0.001f, 1.0f, 0.001f};
  AdvanceBackgroundPhases(scene.background.phases, scene.random);
  EXPECT_FLOAT_EQ(6.5015f, scene.background.phases.phaseA);
  EXPECT_LE(scene.background.phases.speedA, -0.001f);
  EXPECT_GE(scene.background.phases.speedA, -0.00199f);
  float previous = scene.background.phases.phaseA;
  for (int k = 0; k < 200; ++k) {
    AdvanceBackgroundPhases(scene.background.phases, scene.random);
    EXPECT_LT(scene.background.phases.phaseA, previous);
    previous = scene.background.phases.phaseA;
  }
}

TEST(BackgroundPhaseBounce, DrawsANewSpeedOnEveryFrameAtOrBeyondAnEnd) {
  SeedRandom(scene.random, 1);
  // 6.5 is still above 2 pi after the step back, so this frame draws again.
  scene.background.phases = {6.5f, -0.001f, 1.0f, 0.001f, 1.0f, 0.001f};
  const uint32_t before = scene.random.seed;
  AdvanceBackgroundPhases(scene.background.phases, scene.random);
  EXPECT_NE(before, scene.random.seed);
  EXPECT_LT(scene.background.phases.speedA, 0.0f);
  // Inside the range no number is drawn.
  scene.background.phases = {3.0f, -0.001f, 1.0f, 0.001f, 1.0f, 0.001f};
  const uint32_t inside = scene.random.seed;
  AdvanceBackgroundPhases(scene.background.phases, scene.random);
  EXPECT_EQ(inside, scene.random.seed);
}

TEST(BackgroundPhaseBounce, APhaseReachingExactlyZeroTurnsForward) {
  SeedRandom(scene.random, 3);
  scene.background.phases = {1.0f, 0.001f, 0.001f, -0.001f, 1.0f, 0.001f};
  AdvanceBackgroundPhases(scene.background.phases, scene.random);
  EXPECT_EQ(0.0f, scene.background.phases.phaseB);
  EXPECT_GE(scene.background.phases.speedB, 0.001f);
  EXPECT_LE(scene.background.phases.speedB, 0.00199f);
}

TEST(BackgroundPhases, StartWithinTheirRangesInBothVariants) {
  for (bool preview : {false, true}) {
    for (uint32_t seed = 0; seed < 200; ++seed) {
      SeedRandom(scene.random, seed);
      InitBackgroundPhases(scene.background.phases, scene.random, preview);
      for (float phase : {scene.background.phases.phaseA, scene.background.phases.phaseB, scene.background.phases.phaseC}) {
        ASSERT_GE(phase, 0.0f);
        ASSERT_LE(phase, 6.799f);
      }
      const float low = preview ? 0.0001f : 0.001f, high = preview ? 0.01f : 0.00199f;
      for (float speed : {scene.background.phases.speedA, scene.background.phases.speedB, scene.background.phases.speedC}) {
        ASSERT_GE(speed, low);
        ASSERT_LE(speed, high);
      }
    }
  }
}

}  // namespace

namespace {

bool SameColours(const GridField& a, const GridField& b, int rows, int cols) {
  for (int i = 0; i <= rows; ++i) {
    for (int j = 0; j <= cols; ++j) {
      if (a[i][j] != b[i][j]) return false;
    }
  }
  return true;
}

GridField ReferenceRed, ReferenceGreen, ReferenceBlue;

// The per-row and per-column shortcut must store the very floats that the
// vertex-by-vertex formulas give, frame after frame, phases wrapping included.
TEST(BackgroundColour, FastFieldStoresTheReferenceFloatsBitForBit) {
  struct Case {
    int32_t rows, cols;
    uint32_t seed;
  };
  for (const Case& c : {Case{80, 142, 11}, Case{50, 68, 12}, Case{80, 200, 13}, Case{50, 1, 14}}) {
    scene.background.grid.rows = c.rows;
    scene.background.grid.cols = c.cols;
    SeedRandom(scene.random, c.seed);
    InitBackgroundPhases(scene.background.phases, scene.random, c.rows == 50);
    for (int frame = 0; frame < 400; ++frame) {
      AdvanceBackgroundPhases(scene.background.phases, scene.random);
      // Jump around the phase range now and then, past both ends included.
      if (frame % 50 == 0) scene.background.phases.phaseB = -0.001f + frame * 0.0163f;
      ComputeBackgroundColoursReference(scene.background);
      std::copy(&scene.background.grid.red[0][0], &scene.background.grid.red[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceRed[0][0]);
      std::copy(&scene.background.grid.green[0][0], &scene.background.grid.green[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceGreen[0][0]);
      std::copy(&scene.background.grid.blue[0][0], &scene.background.grid.blue[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceBlue[0][0]);
      ComputeBackgroundColours(scene.background);
      ASSERT_TRUE(SameColours(ReferenceRed, scene.background.grid.red, c.rows, c.cols)) << "frame " << frame;
      ASSERT_TRUE(SameColours(ReferenceGreen, scene.background.grid.green, c.rows, c.cols)) << "frame " << frame;
      ASSERT_TRUE(SameColours(ReferenceBlue, scene.background.grid.blue, c.rows, c.cols)) << "frame " << frame;
    }
  }
}

// Phases found by search where the angle-sum identity alone stores a blue one
// float step away from the direct sine at vertex (16, 54): the fast field has
// to notice and take the direct sine there.
TEST(BackgroundColour, FastFieldFallsBackWhereTheIdentityWouldRoundDifferently) {
  scene.background.grid.rows = 80;
  scene.background.grid.cols = 142;
  scene.background.phases = {4.37496185f, 0.0f, 2.87756395f, 0.0f, 6.18049622f, 0.0f};
  ComputeBackgroundColoursReference(scene.background);
  const float expected = scene.background.grid.blue[16][54];
  scene.background.grid.blue[16][54] = 0.0f;
  ComputeBackgroundColours(scene.background);
  EXPECT_EQ(expected, scene.background.grid.blue[16][54]);
}

// A raw value far below 2^-29 must survive the fold as it is: at vertex (0, 0)
// these phases give a red of about 1e-14 before the root.
TEST(BackgroundColour, FastFieldKeepsTinyRawValuesExactly) {
  scene.background.grid.rows = 80;
  scene.background.grid.cols = 142;
  for (const float c : {0.679f, 0.68f}) {
    scene.background.phases = {3.14159274f, 0.0f, 0.0f, 0.0f, c, 0.0f};
    ComputeBackgroundColoursReference(scene.background);
    const float expected = scene.background.grid.red[0][0];
    ComputeBackgroundColours(scene.background);
    EXPECT_EQ(expected, scene.background.grid.red[0][0]) << "C = " << c;
  }
}

}  // namespace
