#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "shell/scene_window.h"

// Full screen on a desk with several monitors: the saver's own window stays
// on the primary one, and every other monitor gets a cover of its own that
// draws a scene of its own, laid out for that monitor's size. A cover that
// cannot get an OpenGL context stays plain black, so no monitor ever keeps
// showing the live desktop while the saver runs.

// One hidden cover per monitor other than the primary, as the system lists
// them now, each owned by `saver` so that it goes when the saver's window
// does. Each shows itself once the message loop runs, after `saver` is up.
// Keys and mouse moves over a cover go to `saver`'s own handlers. The k-th
// cover's scene is seeded with seed + k.
std::vector<SceneWindow> CoverOtherMonitors(HWND saver, uint32_t seed);
