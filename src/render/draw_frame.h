#pragma once

struct Scene;

// One frame as every front end draws it, with the scene's context current:
// clear, then DrawScene (which advances the animation one step). The caller
// then shows it its own way: a buffer swap on a window, glFinish offscreen.
void DrawFrame(Scene& scene);
