// The saver runs for hours: a frame, drawing included, must not allocate.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "crystal/draw_crystal.h"
#include "scene_on_mesa.h"

namespace {

TEST(FrameAllocations, AThousandFramesWithARegrowthAllocateNothing) {
  if (!HeapAllocationsCounted()) GTEST_SKIP() << "the sanitizer runtime owns malloc";
  OffscreenGL gl;
  ASSERT_TRUE(StartScene(gl, 640, 360, false, 5));
  DrawFrames(20);  // let the GL settle its buffers first
  CrystalAngle = 400.0f;  // 200 frames before the turn completes
  const size_t before = HeapAllocationCount();
  DrawFrames(1000);
  EXPECT_EQ(before, HeapAllocationCount());
  EXPECT_LT(CrystalAngle, 400.0f);  // the regrowth happened on the way
}

}  // namespace
