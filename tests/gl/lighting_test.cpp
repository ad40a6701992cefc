// Which light reaches which part of the scene, and how the two parts are
// composed, seen in the pixels of the first frame after set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "background/background_grid.h"
#include "common/gl.h"
#include "crystal/crystal_model.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"
#include "scene_on_mesa.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 180;
constexpr uint32_t Seed = 5;

enum class Part { Both, BackgroundOnly, CrystalOnly };

// Switches a light off by its values rather than its enable, which the frame
// itself sets: with no ambient, diffuse or specular it adds nothing.
void DarkenLight(GLenum light) {
  const GLfloat none[4] = {0, 0, 0, 1};
  glLightfv(light, GL_AMBIENT, none);
  glLightfv(light, GL_DIFFUSE, none);
  glLightfv(light, GL_SPECULAR, none);
}

// The first frame of one set-up, with one part of the scene left out by
// emptying its data, and optionally one light darkened or the window cleared
// to grey instead of black.
std::vector<uint8_t> FirstFrame(Part part, GLenum darkened = 0, bool greyClear = false) {
  OffscreenGL gl;
  if (!StartOffscreenScene(gl, Width, Height, false, Seed)) return {};
  if (greyClear) glClearColor(0.25f, 0.25f, 0.25f, 0.0f);
  if (part == Part::BackgroundOnly) {
    std::memset(scene.crystal.model.alpha, 0, sizeof scene.crystal.model.alpha);  // every point invisible
  } else if (part == Part::CrystalOnly) {
    scene.background.grid.rows = 0;  // no cells to draw
  }
  if (darkened != 0) DarkenLight(darkened);
  DrawFrames(1);
  return gl.pixels();
}

TEST(Lighting, BothLightsStayOffUntilTheFirstFrame) {
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, Width, Height, false, Seed));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST(Lighting, AFrameEndsWithTheCrystalsLightBlendAndSpecular) {
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, Width, Height, false, Seed));
  for (int frame = 1; frame <= 2; ++frame) {
    DrawFrames(1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0)) << "frame " << frame;
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1)) << "frame " << frame;
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "frame " << frame;
    GLfloat specular[4] = {};
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_EQ(std::vector<GLfloat>(specular, specular + 4), (std::vector<GLfloat>{1, 1, 1, 1}));
  }
}

TEST(Lighting, BackgroundIsLitByLightOneAlone) {
  const std::vector<uint8_t> lit = FirstFrame(Part::BackgroundOnly);
  EXPECT_EQ(lit, FirstFrame(Part::BackgroundOnly, GL_LIGHT0));
  // Darkening light 1 leaves only the global ambient: a much dimmer mesh.
  EXPECT_GT(MaxChannelDifference(lit, FirstFrame(Part::BackgroundOnly, GL_LIGHT1)), 40);
}

TEST(Lighting, CrystalIsLitByLightZeroAlone) {
  const std::vector<uint8_t> lit = FirstFrame(Part::CrystalOnly);
  EXPECT_NE(std::count_if(lit.begin(), lit.end(), [](uint8_t v) { return v != 0; }), 0);
  EXPECT_EQ(lit, FirstFrame(Part::CrystalOnly, GL_LIGHT1));
  EXPECT_GT(MaxChannelDifference(lit, FirstFrame(Part::CrystalOnly, GL_LIGHT0)), 40);
}

// Its colours have alpha 1, so only what lies under it tells whether the
// mesh was blended.
TEST(Lighting, BackgroundIsDrawnOpaque) {
  EXPECT_EQ(FirstFrame(Part::BackgroundOnly), FirstFrame(Part::BackgroundOnly, 0, true));
}

// Opaque background, then the crystal added on top: the frame is the sum of
// the two parts drawn alone, up to rounding and saturation.
TEST(Lighting, CrystalAddsItsLightToTheBackground) {
  const std::vector<uint8_t> frame = FirstFrame(Part::Both);
  const std::vector<uint8_t> background = FirstFrame(Part::BackgroundOnly);
  const std::vector<uint8_t> crystal = FirstFrame(Part::CrystalOnly);
  std::vector<uint8_t> sum(frame.size());
  int crystalPixels = 0;
  for (size_t k = 0; k < frame.size(); k += 4) {
    for (size_t c = 0; c < 3; ++c) {
      sum[k + c] = static_cast<uint8_t>(std::min(255, background[k + c] + crystal[k + c]));
    }
    if (crystal[k] + crystal[k + 1] + crystal[k + 2] > 30) ++crystalPixels;
    sum[k + 3] = frame[k + 3];  // alpha is not shown
  }
  EXPECT_GT(crystalPixels, Width * Height / 10);
  EXPECT_LE(MaxChannelDifference(frame, sum), 2);
}

}  // namespace
