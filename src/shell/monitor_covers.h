#pragma once
#include <windows.h>

#include <cstdint>

// Full screen on a desk with several monitors: the saver's own window stays
// on the primary one, and every other monitor gets a cover of its own that
// draws a scene of its own, laid out for that monitor's size. A cover that
// cannot get an OpenGL context stays plain black, so no monitor ever keeps
// showing the live desktop while the saver runs.

// One hidden cover per monitor other than the primary, as the system lists
// them now, each owned by `saver` so that it goes when the saver's window
// does. Each shows itself once the message loop runs, after `saver` is up.
// Keys and mouse moves over a cover go to `saver`'s own handlers. The k-th
// cover's scene is seeded with seed + k. Afterwards `dc` and `rc`, the
// saver's own, are current again.
void CoverOtherMonitors(HWND saver, HDC dc, HGLRC rc, uint32_t seed);

// One frame on every cover that draws, each drawn and swapped once with its
// own context; then `dc` and `rc` are current again.
void DrawOtherMonitors(HDC dc, HGLRC rc);

// Every cover's rendering context, then its device context; nothing is drawn
// on the covers after this. The windows go with the saver's window.
void ReleaseOtherMonitors();
