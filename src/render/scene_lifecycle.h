#pragma once
#include <cstdint>
#include <memory>

struct Scene;

// The life of one screen's picture, the same for every front end, the tool
// and the bench: start it once its GL context is current, reshape it when its
// window changes size, draw a frame on every tick, and release it by letting
// the pointer go (a scene holds no GL object, so before or after its context).

// The preview's coarser mesh, for a window the saver is handed without being
// told what it is (an X11 window, a Wayland output): one smaller than 640x480
// in either direction, such as a settings dialog's preview.
bool IsPreviewSize(int32_t width, int32_t height);

// Makes and prepares a scene for a width x height window from a seed (the
// windows pass ClockSeed(), tools a fixed one), then sets up the current GL
// context for it (InitGL). Allocates: never call it while frames are drawn.
std::unique_ptr<Scene> StartScene(int32_t width, int32_t height, uint32_t seed, bool preview);

// A window that changed size keeps its crystal, phases and turn; the mesh is
// laid out anew for the new aspect, and the current context gets the new
// viewport and projection.
void ReshapeScene(Scene& scene, int32_t width, int32_t height);

// For a context that several scenes take turns with: before this scene
// draws again after another one, the context gets back its viewport and
// projection. Its picture is not touched.
void ResumeScene(const Scene& scene);

// One frame, with the scene's context current: clear, then DrawScene (which
// advances the animation one step). The caller then shows it its own way: a
// buffer swap on a window, glFinish offscreen.
void DrawFrame(Scene& scene);
