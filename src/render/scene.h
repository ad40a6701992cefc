#pragma once
#include <cstdint>
#include <memory>

#include "background/background_state.h"
#include "common/random.h"
#include "common/viewport.h"
#include "crystal/crystal_model.h"

// Everything one screen's picture depends on: each layer's own state, the
// one generator they all draw from, and the size they are drawn at. Each
// screen has its own, made once before its first frame; scenes in one
// process never touch each other.
struct Scene {
  ViewportSizeData viewportSize;
  bool preview;  // the coarser mesh, kept when the window changes size
  RandomGenerator random;
  BackgroundState background;
  CrystalState crystal;
};

// A few megabytes, zeroed: allocated here, never while frames are drawn.
std::unique_ptr<Scene> MakeScene();

// The half of StartScene that needs no GL: viewport, seed, background
// phases, crystal, grid, in that order (all draw from the scene's one
// generator), and the turn back to its start. Every piece of the scene is
// set here, so preparing a scene again starts it as a new process would.
void PrepareScene(Scene& scene, int32_t width, int32_t height, uint32_t seed, bool preview);
