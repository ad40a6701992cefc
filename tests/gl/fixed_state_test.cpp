// What InitGL's projection and fixed state do to primitives, probed with
// plain points and triangles. Lighting is switched off for the probes so that
// their colours reach the buffer as given.
#include <gtest/gtest.h>

#include <cmath>

#include "common/gl.h"
#include "scene_on_mesa.h"

namespace {

// Odd sizes put the window centre on a pixel centre: (80, 60).
constexpr int Width = 161;
constexpr int Height = 121;
constexpr double Aspect = static_cast<double>(Width) / Height;
const double HalfFieldTangent = std::tan(22.5 * M_PI / 180.0);

class FixedState : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartOffscreenScene(gl_, Width, Height, false, 1));
    glDisable(GL_LIGHTING);
  }

  // Draws one white point alone in the window.
  void DrawPoint(double x, double y, double z) {
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
    glFinish();
  }

  void DrawTriangle(const double a[3], const double b[3], const double c[3]) {
    glBegin(GL_TRIANGLES);
    glVertex3dv(a);
    glVertex3dv(b);
    glVertex3dv(c);
    glEnd();
  }

  Rgba Centre() const { return gl_.PixelAt(Width / 2, Height / 2); }

  OffscreenGL gl_;
};

TEST_F(FixedState, PointsOnTheViewAxisBetweenTheClipPlanesLandInTheCentre) {
  for (double distance : {0.1001, 0.5, 1.0, 7.0, 50.0, 99.9}) {
    DrawPoint(0, 0, -distance);
    EXPECT_EQ(Centre().red, 255) << "distance " << distance;
    EXPECT_EQ(LitPixels(gl_), 1) << "distance " << distance;
  }
  for (double distance : {0.0999, 0.05, 100.1, 1000.0}) {
    DrawPoint(0, 0, -distance);
    EXPECT_EQ(LitPixels(gl_), 0) << "distance " << distance << " is not clipped";
  }
}

TEST_F(FixedState, FieldOfViewIs45DegreesHighWithTheWindowAspect) {
  const double distance = 5.0;
  const double top = distance * HalfFieldTangent;
  const double right = top * Aspect;
  for (double inside : {0.97, -0.97}) {
    DrawPoint(0, inside * top, -distance);
    EXPECT_EQ(LitPixels(gl_), 1) << "y at " << inside << " of the half height";
    DrawPoint(inside * right, 0, -distance);
    EXPECT_EQ(LitPixels(gl_), 1) << "x at " << inside << " of the half width";
  }
  for (double outside : {1.03, -1.03}) {
    DrawPoint(0, outside * top, -distance);
    EXPECT_EQ(LitPixels(gl_), 0) << "y at " << outside << " of the half height";
    DrawPoint(outside * right, 0, -distance);
    EXPECT_EQ(LitPixels(gl_), 0) << "x at " << outside << " of the half width";
  }
}

TEST_F(FixedState, ClockwiseTrianglesAreCulledCounterClockwiseOnesDrawn) {
  const double left[3] = {-0.1, -0.1, -1}, right[3] = {0.1, -0.1, -1}, top[3] = {0, 0.1, -1};
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1, 1, 1, 1);
  DrawTriangle(left, top, right);  // clockwise as the eye sees it
  glFinish();
  EXPECT_EQ(LitPixels(gl_), 0);

  DrawTriangle(left, right, top);
  glFinish();
  EXPECT_EQ(Centre().red, 255);
}

TEST_F(FixedState, LaterTrianglesAddTheirAlphaWeightedColourWhateverTheirDepth) {
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  // A near triangle first, then a far one behind it over the same centre.
  const double nearA[3] = {-0.2, -0.2, -1}, nearB[3] = {0.2, -0.2, -1}, nearC[3] = {0, 0.2, -1};
  const double farA[3] = {-2, -2, -5}, farB[3] = {2, -2, -5}, farC[3] = {0, 2, -5};
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(0.4f, 0.2f, 0.0f, 1.0f);
  DrawTriangle(nearA, nearB, nearC);
  glColor4f(0.2f, 0.2f, 0.6f, 0.5f);
  DrawTriangle(farA, farB, farC);
  glFinish();
  // 0.4 + 0.5 * 0.2, 0.2 + 0.5 * 0.2, 0 + 0.5 * 0.6
  const Rgba centre = Centre();
  EXPECT_NEAR(centre.red, 0.5 * 255, 1.5);
  EXPECT_NEAR(centre.green, 0.3 * 255, 1.5);
  EXPECT_NEAR(centre.blue, 0.3 * 255, 1.5);
}

}  // namespace
