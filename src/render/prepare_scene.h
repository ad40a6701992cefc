#pragma once
#include <cstdint>

// Everything a window kind sets up before its GL context exists: viewport,
// seed, background phases, crystal, grid, in that order (all share the one
// generator), and the turn back to its start. Every piece of per-run scene
// state is set here, so a second preparation in one process starts as a new
// process would. The windows pass ClockSeed(); tools pass a fixed seed.
void PrepareScene(int32_t width, int32_t height, bool preview, uint32_t seed);

// A window that changed size keeps its crystal, phases and turn; the mesh is
// laid out again for the new aspect so it still covers the window. The caller
// then runs InitGL with its context current, for the viewport and projection.
void ResizeScene(int32_t width, int32_t height, bool preview);
