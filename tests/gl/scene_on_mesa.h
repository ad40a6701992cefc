#pragma once
#include <cstdint>
#include <vector>

#include "offscreen/offscreen_gl.h"

// Sets the scene up the way a freshly started saver does, on a new offscreen
// context of width x height: PrepareScene, context, InitGL. False, with a
// test failure, when there is no context: the caller must not draw then.
[[nodiscard]] bool StartScene(OffscreenGL& gl, int width, int height, bool preview, uint32_t seed);

// The saver's frame: clear, DrawScene, and glFinish where it would swap.
void DrawFrames(int count);

// Pixels whose red, green or blue is not zero.
int LitPixels(const OffscreenGL& gl);

// Largest difference of any channel between two same-sized images.
int MaxChannelDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
