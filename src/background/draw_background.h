#pragma once

struct BackgroundState;
struct RandomGenerator;

// The frame's state change: advance the phases (drawing from the generator
// when one turns back), then recolour. No GL.
void AdvanceBackground(BackgroundState& background, RandomGenerator& random);
// Emits the mesh with its current colours. GL only, no state change.
void EmitBackground(const BackgroundState& background);
// The mesh's transform and primitive around triangles sent by sendTriangles:
// EmitBackground's own, or a recording of it (the benchmark's replay).
void EmitBackgroundWith(const BackgroundState& background, void (*sendTriangles)(const BackgroundState& background));
