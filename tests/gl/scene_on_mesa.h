#pragma once
#include <cstdint>
#include <vector>

#include "offscreen/offscreen_gl.h"
#include "test_scene.h"

// Starts a scene as a saver starts a screen's: a new offscreen context of
// width x height made current, then StartScene, whose scene `drawn` takes.
// False, with a test failure, when there is no context: the caller must not
// draw then.
[[nodiscard]] bool StartOffscreenScene(OffscreenGL& gl, int width, int height, bool preview, uint32_t seed,
                              Scene& drawn = scene);

// The saver's frame: clear, DrawScene, and glFinish where it would swap; on
// whatever context is current.
void DrawFrames(int count, Scene& drawn = scene);

// Pixels whose red, green or blue is not zero.
int LitPixels(const OffscreenGL& gl);

// Largest difference of any channel between two same-sized images.
int MaxChannelDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
