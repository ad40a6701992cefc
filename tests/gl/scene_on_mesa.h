#pragma once
#include <cstdint>
#include <vector>

#include "offscreen/offscreen_gl.h"

struct Scene;

// The scene the tests draw unless they name another: one for the program, as
// a saver has one per screen.
extern Scene& scene;

// Sets a scene up the way a freshly started saver does, on a new offscreen
// context of width x height: PrepareScene, context, InitGL. False, with a
// test failure, when there is no context: the caller must not draw then.
[[nodiscard]] bool StartOffscreenScene(OffscreenGL& gl, int width, int height, bool preview, uint32_t seed,
                              Scene& drawn = scene);

// The saver's frame: clear, DrawScene, and glFinish where it would swap; on
// whatever context is current.
void DrawFrames(int count, Scene& drawn = scene);

// Pixels whose red, green or blue is not zero.
int LitPixels(const OffscreenGL& gl);

// Largest difference of any channel between two same-sized images.
int MaxChannelDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
