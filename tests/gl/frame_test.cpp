// Whole frames: what survives culling, how much of the window the mesh
// covers, what a frame leaves of the matrix state, and whether a second
// set-up in the same process starts from scratch.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "background/background_grid.h"
#include "common/gl.h"
#include "crystal/draw_crystal.h"
#include "render/draw_scene.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"
#include "scene_on_mesa.h"

namespace {

struct TriangleCounts {
  int background = 0;
  int crystal = 0;
};

// Polygons the GL hands to the rasteriser in one frame, in feedback mode,
// sorted by depth: the crystal turns about a point one unit in front of the
// eye, the mesh lies about seven units away. The projection is widened first,
// because the mesh's outer cells lie just outside the real one and would be
// clipped; a wider perspective from the same eye keeps every triangle's
// winding, so culling decides exactly as in the saver.
TriangleCounts CountFrameTriangles(bool cullBackFaces) {
  static std::vector<GLfloat> feedback(1 << 20);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(120.0, static_cast<double>(viewport[2]) / viewport[3], 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  if (!cullBackFaces) glDisable(GL_CULL_FACE);

  glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D, feedback.data());
  glRenderMode(GL_FEEDBACK);
  DrawScene(scene);
  const GLint used = glRenderMode(GL_RENDER);
  EXPECT_GE(used, 0) << "feedback buffer overflowed";
  glEnable(GL_CULL_FACE);

  // Window depth of an eye distance d with planes 0.1 and 100 is about
  // 0.5 + 0.5 * (1.002 - 0.2002 / d): below 0.93 for the crystal (d < 1.42),
  // above 0.98 for the mesh (d > 6.9).
  TriangleCounts counts;
  for (GLint k = 0; k < used;) {
    EXPECT_EQ(feedback[k], GL_POLYGON_TOKEN) << "at " << k;
    if (feedback[k] != GL_POLYGON_TOKEN) break;
    const int vertices = static_cast<int>(feedback[k + 1]);
    EXPECT_EQ(vertices, 3) << "a triangle was clipped";
    const float depth = feedback[k + 4];  // first vertex: x, y, z
    ++(depth < 0.96f ? counts.crystal : counts.background);
    k += 2 + 3 * vertices;
  }
  return counts;
}

TEST(Frame, FullScreenMeshIsNeverCulledAndTheCrystalShowsOneFace) {
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, 1920, 1080, false, 1));  // 80 rows, 142 columns
  const TriangleCounts sent = CountFrameTriangles(false);
  scene.crystal.angle = 0.0f;  // draw the next frame at 0 degrees again
  scene.crystal.angleStep = 0.0f;
  const TriangleCounts facing = CountFrameTriangles(true);
  EXPECT_EQ(sent.background, 2 * 80 * 142);
  EXPECT_EQ(facing.background, 22720);
  // Front and back face send the same triangles; at 0 degrees only the
  // front one faces the eye, at 180 only the back one.
  EXPECT_GT(sent.crystal, 0);
  EXPECT_EQ(sent.crystal % 2, 0);
  EXPECT_EQ(facing.crystal, sent.crystal / 2);
  scene.crystal.angle = 179.75f;
  scene.crystal.angleStep = 0.25f;
  EXPECT_EQ(CountFrameTriangles(true).crystal, sent.crystal / 2);
}

// Every pixel the mesh covers gets alpha 1 (its colours carry alpha 1 and it
// is drawn opaque); the clear leaves alpha 0. So no pixel of alpha 0 may
// remain, whatever colours the mesh happens to have.
TEST(Frame, MeshCoversTheWholeWindowForEveryShape) {
  struct Window {
    int width, height;
    bool preview;
  };
  for (const Window w : {Window{1920, 1080, false}, Window{1024, 768, false},
                         Window{1280, 1024, false}, Window{2560, 1080, false},
                         Window{1080, 1920, false}, Window{152, 112, true},
                         Window{101, 100, true}, Window{5120, 1440, false},  // 32:9
                         Window{5760, 1080, false},                          // three 16:9 side by side
                         Window{2400, 200, false}, Window{800, 100, true},   // 12:1 and 8:1
                         Window{60, 800, true}}) {
    OffscreenGL gl;
    ASSERT_TRUE(StartOffscreenScene(gl, w.width, w.height, w.preview, 1));
    DrawFrames(1);
    int uncovered = 0;
    for (int y = 0; y < w.height; ++y) {
      for (int x = 0; x < w.width; ++x) uncovered += gl.PixelAt(x, y).alpha == 0;
    }
    EXPECT_EQ(uncovered, 0) << w.width << "x" << w.height << (w.preview ? " preview" : "");
  }
}

TEST(Frame, FullScreenFrameLeavesNoBlackPixel) {
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, 1920, 1080, false, 1));
  DrawFrames(1);
  EXPECT_EQ(LitPixels(gl), 1920 * 1080);
}

void ExpectMatricesAsInitGLLeftThem(const GLdouble projection[16], const char* when) {
  GLint depth = 0, mode = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1) << when;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1) << when;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW) << when;
  GLdouble matrix[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, matrix);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(matrix[k], k % 5 == 0 ? 1.0 : 0.0) << when << " [" << k << "]";
  }
  glGetDoublev(GL_PROJECTION_MATRIX, matrix);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(matrix[k], projection[k]) << when << " [" << k << "]";
  // An unbalanced glBegin/glEnd or a matrix stack over- or underflow shows here.
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << when;
}

TEST(Frame, FramesRestoreTheMatricesAndRaiseNoError) {
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, 640, 360, false, 3));
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  DrawFrames(3);
  ExpectMatricesAsInitGLLeftThem(projection, "after three frames");
  // The frame that completes a turn also grows a new crystal.
  scene.crystal.angle = 449.75f;
  DrawFrames(1);
  EXPECT_EQ(scene.crystal.angle, 90.0f);
  ExpectMatricesAsInitGLLeftThem(projection, "after a new crystal");
}

TEST(Frame, SecondSetUpInOneProcessStartsClean) {
  std::vector<uint8_t> first;
  {
    OffscreenGL gl;
    ASSERT_TRUE(StartOffscreenScene(gl, 320, 180, false, 11));
    DrawFrames(3);
    first = gl.pixels();
  }
  {  // another set-up in between, with another seed, variant and size
    OffscreenGL gl;
    ASSERT_TRUE(StartOffscreenScene(gl, 200, 200, true, 12));
    DrawFrames(5);
  }
  OffscreenGL gl;
  ASSERT_TRUE(StartOffscreenScene(gl, 320, 180, false, 11));
  DrawFrames(3);
  EXPECT_EQ(gl.pixels(), first);
}

// Screens of different sizes, each with its own scene and context, drawn in
// turn through a regrowth: each picture and each scene's numbers are exactly
// those of the same scene drawn alone, and each mesh covers its own window.
// So are they on one context they share, each resumed before it draws.
TEST(Frame, ScenesDrawnInTurnMatchEachDrawnAlone) {
  struct Screen {
    int width, height;
    bool preview;
    uint32_t seed;
  };
  const Screen screens[2] = {{320, 180, false, 21}, {160, 120, true, 22}};
  auto drawScreen = [](OffscreenGL& gl, Scene& drawn) {
    ASSERT_TRUE(gl.MakeCurrent());
    DrawFrames(1, drawn);
  };
  std::unique_ptr<Scene> alone[2], inTurn[2];
  std::vector<uint8_t> alonePixels[2];
  for (int k = 0; k < 2; ++k) {
    const Screen& s = screens[k];
    alone[k] = MakeScene();
    OffscreenGL gl;
    ASSERT_TRUE(StartOffscreenScene(gl, s.width, s.height, s.preview, s.seed, *alone[k]));
    alone[k]->crystal.angle = 449.0f;  // a new crystal grows on the way
    for (int frame = 0; frame < 6; ++frame) drawScreen(gl, *alone[k]);
    alonePixels[k] = gl.pixels();
  }
  OffscreenGL gl[2];
  for (int k = 0; k < 2; ++k) {
    inTurn[k] = MakeScene();
    ASSERT_TRUE(StartOffscreenScene(gl[k], screens[k].width, screens[k].height, screens[k].preview, screens[k].seed,
                           *inTurn[k]));
    inTurn[k]->crystal.angle = 449.0f;
  }
  for (int frame = 0; frame < 6; ++frame) {
    for (int k = 0; k < 2; ++k) drawScreen(gl[k], *inTurn[k]);
  }
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(inTurn[k]->crystal.angle, 90.25f);  // regrown on the fifth frame
    EXPECT_EQ(0, std::memcmp(alone[k].get(), inTurn[k].get(), sizeof(Scene)));
    EXPECT_EQ(gl[k].pixels(), alonePixels[k]);
    int uncovered = 0;
    for (int y = 0; y < gl[k].height(); ++y) {
      for (int x = 0; x < gl[k].width(); ++x) uncovered += gl[k].PixelAt(x, y).alpha == 0;
    }
    EXPECT_EQ(uncovered, 0);
  }
  OffscreenGL shared;  // the first screen's size; the second starts on it too
  std::unique_ptr<Scene> sharing[2] = {MakeScene(), nullptr};
  const Screen &first = screens[0], &second = screens[1];
  ASSERT_TRUE(StartOffscreenScene(shared, first.width, first.height, first.preview, first.seed, *sharing[0]));
  sharing[1] = StartScene(second.width, second.height, second.seed, second.preview);
  for (const std::unique_ptr<Scene>& each : sharing) each->crystal.angle = 449.0f;
  for (int frame = 0; frame < 6; ++frame) {
    for (int k = 1; k >= 0; --k) {
      ResumeScene(*sharing[k]);
      DrawFrames(1, *sharing[k]);
    }
  }
  for (int k = 0; k < 2; ++k) EXPECT_EQ(0, std::memcmp(alone[k].get(), sharing[k].get(), sizeof(Scene)));
  EXPECT_EQ(shared.pixels(), alonePixels[0]);  // the last drawn covers the whole window
}

// A window that changes size goes on with its picture: the same crystal,
// phases and turn, a mesh laid out for the new size as a fresh layout from
// the generator as it stands, and the projection of a scene started there.
TEST(Frame, ReshapeKeepsTheCrystalPhasesAndTurnAndLaysTheMeshOutForTheNewSize) {
  for (const bool preview : {false, true}) {
    SCOPED_TRACE(preview ? "preview" : "full screen");
    OffscreenGL fresh, gl;
    GLdouble freshProjection[16];
    ASSERT_TRUE(StartOffscreenScene(fresh, 360, 640, preview, 8));
    glGetDoublev(GL_PROJECTION_MATRIX, freshProjection);
    ASSERT_TRUE(StartOffscreenScene(gl, 640, 360, preview, 8));
    DrawFrames(5);
    const std::unique_ptr<Scene> expected = MakeScene();
    *expected = scene;
    expected->viewportSize = {360, 640};
    LayoutBackgroundGrid(expected->background.grid, expected->background.normals, expected->random,
                         expected->viewportSize, preview);
    ReshapeScene(scene, 360, 640);
    EXPECT_EQ(0, std::memcmp(expected.get(), &scene, sizeof(Scene)));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 360);
    EXPECT_EQ(viewport[3], 640);
    ExpectMatricesAsInitGLLeftThem(freshProjection, "after the reshape");
  }
}

}  // namespace
