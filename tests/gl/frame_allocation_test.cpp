// The saver runs for hours: a frame, drawing included, must not allocate.
#include <gtest/gtest.h>

#include <memory>

#include "allocation_counter.h"
#include "crystal/draw_crystal.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"
#include "scene_on_mesa.h"

namespace {

// Two screens, each with its scene and context, drawn in turn.
TEST(FrameAllocations, AThousandFramesOfTwoScreensWithARegrowthAllocateNothing) {
  if (!HeapAllocationsCounted()) GTEST_SKIP() << "the sanitizer runtime owns malloc";
  const std::unique_ptr<Scene> second = MakeScene();
  OffscreenGL gl, secondGl;
  ASSERT_TRUE(StartOffscreenScene(gl, 640, 360, false, 5));
  ASSERT_TRUE(StartOffscreenScene(secondGl, 320, 240, true, 6, *second));
  auto drawBoth = [&](int frames) {
    for (int frame = 0; frame < frames; ++frame) {
      gl.MakeCurrent();
      DrawFrames(1);
      secondGl.MakeCurrent();
      DrawFrames(1, *second);
    }
  };
  drawBoth(20);  // let the GL settle its buffers first
  scene.crystal.angle = 400.0f;  // 200 frames before the turn completes
  second->crystal.angle = 420.0f;
  const size_t before = HeapAllocationCount();
  drawBoth(1000);
  EXPECT_EQ(before, HeapAllocationCount());
  EXPECT_LT(scene.crystal.angle, 400.0f);  // the regrowths happened on the way
  EXPECT_LT(second->crystal.angle, 420.0f);
}

}  // namespace
