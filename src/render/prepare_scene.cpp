#include "render/prepare_scene.h"

#include "crystal/draw_crystal.h"
#include "render/scene.h"

void PrepareScene(Scene& scene, int32_t width, int32_t height, bool preview, uint32_t seed) {
  scene.viewportSize = {width, height};
  SeedRandom(scene.random, seed);
  // All three draw from the one generator, in this order.
  InitBackgroundPhases(scene, preview);
  GenerateCrystal(scene);
  LayoutBackgroundGrid(scene, preview);
  ResetCrystalTurn(scene);
}

void ResizeScene(Scene& scene, int32_t width, int32_t height, bool preview) {
  scene.viewportSize = {width, height};
  LayoutBackgroundGrid(scene, preview);
}
