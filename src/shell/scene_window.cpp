#include "shell/scene_window.h"

#include "render/scene.h"
#include "render/scene_lifecycle.h"
#include "shell/wgl_context.h"

void StartSceneWindow(SceneWindow& screen, int32_t width, int32_t height, uint32_t seed,
                      bool preview) {
  if (MakeCurrentGLContext(screen.window, screen.dc, screen.rc)) {
    screen.scene = StartScene(width, height, seed, preview);
  } else {
    ReleaseSceneWindow(screen);
  }
}

void DrawSceneWindow(SceneWindow& screen) {
  if (screen.scene == nullptr) return;
  if (wglGetCurrentContext() != screen.rc && !wglMakeCurrent(screen.dc, screen.rc)) return;
  DrawFrame(*screen.scene);
  SwapBuffers(screen.dc);
}

void ReshapeSceneWindow(SceneWindow& screen, int32_t width, int32_t height) {
  // The scene knows the size it is laid out for; a window without one has
  // nothing to lay out.
  if (screen.scene == nullptr) return;
  const ViewportSizeData& size = screen.scene->viewportSize;
  if (width == size.width && height == size.height) return;
  if (wglMakeCurrent(screen.dc, screen.rc)) {
    ReshapeScene(*screen.scene, width, height);
  }
}

void ReleaseSceneWindow(SceneWindow& screen) {
  ReleaseGLContext(screen.window, screen.dc, screen.rc);
  screen.dc = nullptr;
  screen.rc = nullptr;
  screen.scene.reset();
}
