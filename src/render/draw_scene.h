#pragma once

struct Scene;

// One frame's scene between the clear and the presentation: AdvanceScene,
// then the background's pass and the crystal's pass over the new state.
void DrawScene(Scene& scene);
// The frame's state changes alone, in their order, without GL: the
// background's phases and colours, then the crystal's turn. Lets tools and
// tests step the animation with no context.
void AdvanceScene(Scene& scene);

// The GL state DrawScene gives each pass before drawing it, for callers that
// draw the passes' own way (the benchmark's replay).
void BeginBackgroundPass();
void BeginCrystalPass();
