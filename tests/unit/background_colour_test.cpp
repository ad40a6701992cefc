#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "background/colour_field.h"
#include "common/random.h"

namespace {

void ColourGrid(float a, float b, float c) {
  BackgroundGrid.rows = 80;
  BackgroundGrid.cols = 142;
  BackgroundPhases = {a, 0.001f, b, 0.001f, c, 0.001f};
  ComputeBackgroundColours();
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
  EXPECT_FLOAT_EQ(-0.2f, BackgroundGrid.red[0][0]);
  EXPECT_FLOAT_EQ(-0.2f, BackgroundGrid.green[0][0]);
  EXPECT_FLOAT_EQ(-0.2f, BackgroundGrid.blue[0][0]);

  ColourGrid(0.5f, 1.0f, 1.5f);
  EXPECT_NEAR(0.79477, BackgroundGrid.red[40][20], 1e-5);
  EXPECT_NEAR(0.77822, BackgroundGrid.green[40][20], 1e-5);
  EXPECT_NEAR(0.60474, BackgroundGrid.blue[40][20], 1e-5);  // folded
}

TEST(BackgroundColour, EveryUsedVertexIsColouredWithinRange) {
  ColourGrid(3.1f, 5.9f, 0.2f);
  for (int i = 0; i <= 80; ++i) {
    for (int j = 0; j <= 142; ++j) {
      for (const GridField* channel : {&BackgroundGrid.red, &BackgroundGrid.green, &BackgroundGrid.blue}) {
        const float value = (*channel)[i][j];
        ASSERT_GE(value, -0.2f);
        ASSERT_LE(value, 0.8f);
      }
    }
  }
}

TEST(BackgroundPhaseBounce, APhasePastTheTopTurnsBackTheSameFrame) {
  SeedRandom(1);
  BackgroundPhases = {6.5f, 0.0015f, 1.0f, 0.001f, 1.0f, 0.001f};
  AdvanceBackgroundPhases();
  EXPECT_FLOAT_EQ(6.5015f, BackgroundPhases.phaseA);
  EXPECT_LE(BackgroundPhases.speedA, -0.001f);
  EXPECT_GE(BackgroundPhases.speedA, -0.00199f);
  float previous = BackgroundPhases.phaseA;
  for (int k = 0; k < 200; ++k) {
    AdvanceBackgroundPhases();
    EXPECT_LT(BackgroundPhases.phaseA, previous);
    previous = BackgroundPhases.phaseA;
  }
}

TEST(BackgroundPhaseBounce, DrawsANewSpeedOnEveryFrameAtOrBeyondAnEnd) {
  SeedRandom(1);
  // 6.5 is still above 2 pi after the step back, so this frame draws again.
  BackgroundPhases = {6.5f, -0.001f, 1.0f, 0.001f, 1.0f, 0.001f};
  const uint32_t before = RandomSeed;
  AdvanceBackgroundPhases();
  EXPECT_NE(before, RandomSeed);
  EXPECT_LT(BackgroundPhases.speedA, 0.0f);
  // Inside the range no number is drawn.
  BackgroundPhases = {3.0f, -0.001f, 1.0f, 0.001f, 1.0f, 0.001f};
  const uint32_t inside = RandomSeed;
  AdvanceBackgroundPhases();
  EXPECT_EQ(inside, RandomSeed);
}

TEST(BackgroundPhaseBounce, APhaseReachingExactlyZeroTurnsForward) {
  SeedRandom(3);
  BackgroundPhases = {1.0f, 0.001f, 0.001f, -0.001f, 1.0f, 0.001f};
  AdvanceBackgroundPhases();
  EXPECT_EQ(0.0f, BackgroundPhases.phaseB);
  EXPECT_GE(BackgroundPhases.speedB, 0.001f);
  EXPECT_LE(BackgroundPhases.speedB, 0.00199f);
}

TEST(BackgroundPhases, StartWithinTheirRangesInBothVariants) {
  for (bool preview : {false, true}) {
    for (uint32_t seed = 0; seed < 200; ++seed) {
      SeedRandom(seed);
      InitBackgroundPhases(preview);
      for (float phase : {BackgroundPhases.phaseA, BackgroundPhases.phaseB, BackgroundPhases.phaseC}) {
        ASSERT_GE(phase, 0.0f);
        ASSERT_LE(phase, 6.799f);
      }
      const float low = preview ? 0.0001f : 0.001f, high = preview ? 0.01f : 0.00199f;
      for (float speed : {BackgroundPhases.speedA, BackgroundPhases.speedB, BackgroundPhases.speedC}) {
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
    BackgroundGrid.rows = c.rows;
    BackgroundGrid.cols = c.cols;
    SeedRandom(c.seed);
    InitBackgroundPhases(c.rows == 50);
    for (int frame = 0; frame < 400; ++frame) {
      AdvanceBackgroundPhases();
      // Jump around the phase range now and then, past both ends included.
      if (frame % 50 == 0) BackgroundPhases.phaseB = -0.001f + frame * 0.0163f;
      ComputeBackgroundColoursReference();
      std::copy(&BackgroundGrid.red[0][0], &BackgroundGrid.red[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceRed[0][0]);
      std::copy(&BackgroundGrid.green[0][0], &BackgroundGrid.green[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceGreen[0][0]);
      std::copy(&BackgroundGrid.blue[0][0], &BackgroundGrid.blue[0][0] + sizeof(GridField) / sizeof(float),
                &ReferenceBlue[0][0]);
      ComputeBackgroundColours();
      ASSERT_TRUE(SameColours(ReferenceRed, BackgroundGrid.red, c.rows, c.cols)) << "frame " << frame;
      ASSERT_TRUE(SameColours(ReferenceGreen, BackgroundGrid.green, c.rows, c.cols)) << "frame " << frame;
      ASSERT_TRUE(SameColours(ReferenceBlue, BackgroundGrid.blue, c.rows, c.cols)) << "frame " << frame;
    }
  }
}

// Phases found by search where the angle-sum identity alone stores a blue one
// float step away from the direct sine at vertex (16, 54): the fast field has
// to notice and take the direct sine there.
TEST(BackgroundColour, FastFieldFallsBackWhereTheIdentityWouldRoundDifferently) {
  BackgroundGrid.rows = 80;
  BackgroundGrid.cols = 142;
  BackgroundPhases = {4.37496185f, 0.0f, 2.87756395f, 0.0f, 6.18049622f, 0.0f};
  ComputeBackgroundColoursReference();
  const float expected = BackgroundGrid.blue[16][54];
  BackgroundGrid.blue[16][54] = 0.0f;
  ComputeBackgroundColours();
  EXPECT_EQ(expected, BackgroundGrid.blue[16][54]);
}

// A raw value far below 2^-29 must survive the fold as it is: at vertex (0, 0)
// these phases give a red of about 1e-14 before the root.
TEST(BackgroundColour, FastFieldKeepsTinyRawValuesExactly) {
  BackgroundGrid.rows = 80;
  BackgroundGrid.cols = 142;
  for (const float c : {0.679f, 0.68f}) {
    BackgroundPhases = {3.14159274f, 0.0f, 0.0f, 0.0f, c, 0.0f};
    ComputeBackgroundColoursReference();
    const float expected = BackgroundGrid.red[0][0];
    ComputeBackgroundColours();
    EXPECT_EQ(expected, BackgroundGrid.red[0][0]) << "C = " << c;
  }
}

}  // namespace
