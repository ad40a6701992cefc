#pragma once
#include <cstdint>

// Everything a window kind sets up before its GL context exists: viewport,
// seed, background phases, crystal, grid, in that order (all share the one
// generator). The windows pass ClockSeed(); tools pass a fixed seed.
void PrepareScene(int32_t width, int32_t height, bool preview, uint32_t seed);
