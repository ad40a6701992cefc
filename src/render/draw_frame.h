#pragma once

// One frame as every front end draws it: clear, DrawScene (which advances the
// animation one step), then the caller's way of showing it: a buffer swap on
// a window, glFinish offscreen.
void DrawFrame(void (*present)());
