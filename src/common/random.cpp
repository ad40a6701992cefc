#include "common/random.h"

#include <chrono>

void SeedRandom(RandomGenerator& random, uint32_t seed) { random.seed = seed; }

uint32_t ClockSeed() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto ms = duration_cast<milliseconds>(now).count();
  return static_cast<uint32_t>(ms % (24LL * 60 * 60 * 1000));
}

uint32_t Random(RandomGenerator& random, uint32_t n) {
  random.seed = random.seed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(random.seed) * n) >> 32);
}
