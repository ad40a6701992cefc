#include "common/random.h"

#include <chrono>

uint32_t RandomSeed = 0;

void SeedRandom(uint32_t seed) { RandomSeed = seed; }

uint32_t ClockSeed() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto ms = duration_cast<milliseconds>(now).count();
  return static_cast<uint32_t>(ms % (24LL * 60 * 60 * 1000));
}

uint32_t Random(uint32_t n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(RandomSeed) * n) >> 32);
}
