#pragma once
#include <cstdint>

// The one process-wide generator every part of the scene draws from, so a
// seed fixes the whole picture.
extern uint32_t RandomSeed;

void SeedRandom(uint32_t seed);
// Milliseconds since midnight, UTC: the saver's only source of variety.
uint32_t ClockSeed();
// Advances the seed, then returns an integer in 0..n-1.
uint32_t Random(uint32_t n);
