#pragma once

struct Scene;

// Viewport, projection, fixed state, lights, material and light model for the
// current context, from the scene's viewport size. Needs the scene's GL
// context current.
void InitGL(const Scene& scene);
