#include "scene_on_mesa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "common/gl.h"
#include "render/scene_lifecycle.h"

bool StartOffscreenScene(OffscreenGL& gl, int width, int height, bool preview, uint32_t seed, Scene& drawn) {
  if (!gl.Create(width, height)) {
    ADD_FAILURE() << gl.error();
    return false;
  }
  drawn = *StartScene(width, height, seed, preview);
  return true;
}

void DrawFrames(int count, Scene& drawn) {
  for (int frame = 0; frame < count; ++frame) {
    DrawFrame(drawn);
    glFinish();
  }
}

int LitPixels(const OffscreenGL& gl) {
  int lit = 0;
  for (int y = 0; y < gl.height(); ++y) {
    for (int x = 0; x < gl.width(); ++x) {
      const Rgba p = gl.PixelAt(x, y);
      if (p.red != 0 || p.green != 0 || p.blue != 0) ++lit;
    }
  }
  return lit;
}

int MaxChannelDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  EXPECT_EQ(a.size(), b.size());
  int largest = 0;
  for (size_t k = 0; k < std::min(a.size(), b.size()); ++k) {
    largest = std::max(largest, std::abs(a[k] - b[k]));
  }
  return largest;
}
