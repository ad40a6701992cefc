#include "render/prepare_scene.h"

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "common/random.h"
#include "common/viewport.h"
#include "crystal/crystal_model.h"
#include "crystal/draw_crystal.h"

void PrepareScene(int32_t width, int32_t height, bool preview, uint32_t seed) {
  ViewportSize = {width, height};
  SeedRandom(seed);
  // All three draw from the one generator, in this order.
  InitBackgroundPhases(preview);
  GenerateCrystal();
  LayoutBackgroundGrid(preview);
  ResetCrystalTurn();
}

void ResizeScene(int32_t width, int32_t height, bool preview) {
  ViewportSize = {width, height};
  LayoutBackgroundGrid(preview);
}
