#pragma once
#include <cstdint>

struct Scene;

// Everything a window sets up before its GL context exists: viewport, seed,
// background phases, crystal, grid, in that order (all draw from the scene's
// one generator), and the turn back to its start. Every piece of the scene is
// set here, so preparing a scene again starts it as a new process would. The
// windows pass ClockSeed(); tools pass a fixed seed.
void PrepareScene(Scene& scene, int32_t width, int32_t height, bool preview, uint32_t seed);

// A window that changed size keeps its crystal, phases and turn; the mesh is
// laid out again for the new aspect so it still covers the window. The caller
// then runs InitGL with the scene's context current, for viewport and projection.
void ResizeScene(Scene& scene, int32_t width, int32_t height, bool preview);
