#pragma once

struct Scene;

// The frame's state change: advance the phases, then recolour. No GL.
void AdvanceBackground(Scene& scene);
// Emits the mesh with its current colours. GL only, no state change.
void EmitBackground(const Scene& scene);
// The mesh's transform and primitive around triangles sent by sendTriangles:
// EmitBackground's own, or a recording of it (the benchmark's replay).
void EmitBackgroundWith(const Scene& scene, void (*sendTriangles)(const Scene& scene));
// One frame of the background: AdvanceBackground, then EmitBackground.
void DrawBackground(Scene& scene);
