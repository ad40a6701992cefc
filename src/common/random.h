#pragma once
#include <cstdint>

// A scene's own generator: everything in one scene draws from it, in a fixed
// order, so a seed fixes that scene's whole picture and other scenes in the
// same process never disturb it.
struct RandomGenerator {
  uint32_t seed;
};

void SeedRandom(RandomGenerator& random, uint32_t seed);
// Milliseconds since midnight, UTC: the saver's only source of variety.
uint32_t ClockSeed();
// Advances the seed, then returns an integer in 0..n-1.
uint32_t Random(RandomGenerator& random, uint32_t n);
