#include "render/scene.h"

#include "crystal/draw_crystal.h"

std::unique_ptr<Scene> MakeScene() { return std::make_unique<Scene>(); }

void PrepareScene(Scene& scene, int32_t width, int32_t height, uint32_t seed, bool preview) {
  scene.viewportSize = {width, height};
  scene.preview = preview;
  SeedRandom(scene.random, seed);
  InitBackgroundPhases(scene.background.phases, scene.random, preview);
  GenerateCrystal(scene.crystal, scene.random);
  LayoutBackgroundGrid(scene.background.grid, scene.background.normals, scene.random, scene.viewportSize, preview);
  ResetCrystalTurn(scene.crystal);
}
