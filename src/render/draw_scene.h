#pragma once

struct Scene;

// One frame's scene between the clear and the presentation.
void DrawScene(Scene& scene);
// Exactly the state changes DrawScene makes, in its order, without GL: lets
// tools and tests step the animation with no context.
void AdvanceScene(Scene& scene);

// The GL state DrawScene gives each pass before drawing it, for callers that
// draw the passes' own way (the benchmark's replay).
void BeginBackgroundPass();
void BeginCrystalPass();
