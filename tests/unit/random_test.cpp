#include <gtest/gtest.h>

#include "common/random.h"

namespace {

RandomGenerator generator;

TEST(Random, AdvancesTheSeedBeforeTakingTheHighBitsOfTheProduct) {
  SeedRandom(generator, 0);
  EXPECT_EQ(0u, Random(generator, 1000));  // seed 1: 1000 >> 32
  EXPECT_EQ(1u, generator.seed);
  EXPECT_EQ(31u, Random(generator, 1000));  // seed 134775814: 134775814000 >> 32
  EXPECT_EQ(134775814u, generator.seed);
}

TEST(Random, WrapsTheSeedModuloTwoToThe32) {
  SeedRandom(generator, 0xFFFFFFFFu);
  EXPECT_EQ(9u, Random(generator, 10));
  EXPECT_EQ(4160191484u, generator.seed);
}

TEST(Random, StaysBelowItsBoundAndReachesBothEnds) {
  SeedRandom(generator, 12345);
  bool sawZero = false, sawTop = false;
  for (int k = 0; k < 10000; ++k) {
    const uint32_t value = Random(generator, 10);
    ASSERT_LT(value, 10u);
    sawZero = sawZero || value == 0;
    sawTop = sawTop || value == 9;
  }
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawTop);
}

TEST(Random, ClockSeedCountsMillisecondsWithinOneDay) { EXPECT_LT(ClockSeed(), 86400000u); }

}  // namespace
