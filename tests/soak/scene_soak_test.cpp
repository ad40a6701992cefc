// A million frames of scene state, as an unattended saver runs for hours:
// every stored value stays a finite number in its range, crystals keep being
// regrown, and nothing is allocated on the way.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "allocation_counter.h"
#include "background/background_grid.h"
#include "background/background_phases.h"
#include "crystal/crystal_model.h"
#include "crystal/draw_crystal.h"
#include "render/draw_scene.h"
#include "render/scene.h"
#include "test_scene.h"

namespace {

constexpr double TwoPi = 6.28318530717958647692;
constexpr float LargestSpeed = 0.0100f;

bool AllFinite(const float* values, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    if (!std::isfinite(values[k])) return false;
  }
  return true;
}

template <typename Field>
bool FieldFinite(const Field& field) {
  return AllFinite(reinterpret_cast<const float*>(&field), sizeof(Field) / sizeof(float));
}

bool CrystalFinite() {
  const CrystalModelData& m = scene.crystal.model;
  return FieldFinite(m.x) && FieldFinite(m.y) && FieldFinite(m.zFront) && FieldFinite(m.zBack) &&
         FieldFinite(m.red) && FieldFinite(m.green) && FieldFinite(m.blue) && FieldFinite(m.alpha);
}

bool GridFinite() {
  const BackgroundGridData& g = scene.background.grid;
  return FieldFinite(g.x) && FieldFinite(g.y) && FieldFinite(g.depth) && FieldFinite(g.red) &&
         FieldFinite(g.green) && FieldFinite(g.blue);
}

// Never clamped, a phase may overshoot an end by less than one step.
bool PhaseInRange(float phase) { return phase >= -LargestSpeed && phase <= TwoPi + LargestSpeed; }

TEST(SceneSoak, AllocationCounterSeesHeapAllocations) {
  if (!HeapAllocationsCounted()) GTEST_SKIP() << "the sanitizer runtime owns malloc";
  const size_t before = HeapAllocationCount();
  volatile size_t length = 1000;
  void* volatile block = std::malloc(length);
  int* volatile array = new int[length];
  EXPECT_EQ(before + 2, HeapAllocationCount());
  delete[] array;
  std::free(block);
}

TEST(SceneSoak, AMillionFramesStayFiniteInRangeAndAllocateNothing) {
  for (bool preview : {false, true}) {
    SCOPED_TRACE(preview ? "preview" : "full screen");
    PrepareScene(scene, preview ? 152 : 1920, preview ? 112 : 1080, 20261208, preview);
    // Sanitizer builds run a shorter soak through the environment.
    const char* limit = std::getenv("RIMEGLASS_SOAK_FRAMES");
    const long frames = limit != nullptr ? std::atol(limit) : preview ? 200000 : 1000000;
    const size_t allocationsBefore = HeapAllocationCount();
    long regrowths = 0;
    float previousAngle = scene.crystal.angle;
    for (long frame = 0; frame < frames; ++frame) {
      AdvanceScene(scene);
      if (scene.crystal.angle < previousAngle) {
        ++regrowths;
        ASSERT_TRUE(CrystalFinite()) << "frame " << frame;
      }
      previousAngle = scene.crystal.angle;
      ASSERT_GE(scene.crystal.angle, 0.0f);
      ASSERT_LT(scene.crystal.angle, 450.0f);
      // The preview's starting speeds may be larger, and the phases start
      // anywhere up to 6.799, so the range holds from the first turns on.
      if (frame > 2000) {
        const BackgroundPhasesData& ph = scene.background.phases;
        ASSERT_TRUE(PhaseInRange(ph.phaseA) && PhaseInRange(ph.phaseB) && PhaseInRange(ph.phaseC))
            << "phases " << ph.phaseA << ", " << ph.phaseB << ", " << ph.phaseC << " at frame " << frame;
      }
      if (frame % 9973 == 0) {
        ASSERT_TRUE(GridFinite()) << "frame " << frame;
      }
    }
    EXPECT_EQ(allocationsBefore, HeapAllocationCount());
    EXPECT_TRUE(GridFinite());
    // 1800 frames for the first crystal, 1440 for every later one.
    EXPECT_EQ((frames - 1800) / 1440 + 1, regrowths);
  }
}

}  // namespace
