#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

struct Scene;

// A window that draws a scene of its own: the saver's window, each monitor's
// cover and the preview all own theirs the same way. Without a scene (its
// OpenGL failed) it keeps no context and shows its own background.
struct SceneWindow {
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC rc = nullptr;
  std::unique_ptr<Scene> scene;
};

// Device context, pixel format, rendering context made current, then a scene
// for width x height. When a step fails, what was got is given back and the
// window is left without a scene.
void StartSceneWindow(SceneWindow& screen, int32_t width, int32_t height, uint32_t seed,
                      bool preview);

// One frame with the window's own context, shown on the window. Several
// windows take turns with their contexts; a lone one keeps its current.
void DrawSceneWindow(SceneWindow& screen);

// The window now has this size: when it is a new one, the scene keeps its
// crystal and animation and its mesh is laid out anew.
void ReshapeSceneWindow(SceneWindow& screen, int32_t width, int32_t height);

// The rendering context, then the device context, then the scene; the window
// itself stays.
void ReleaseSceneWindow(SceneWindow& screen);
