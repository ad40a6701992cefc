#pragma once

// The frame's state change: advance the phases, then recolour. No GL.
void AdvanceBackground();
// Emits the mesh with its current colours. GL only, no state change.
void EmitBackground();
// The mesh's transform and primitive around triangles sent by sendTriangles:
// EmitBackground's own, or a recording of it (the benchmark's replay).
void EmitBackgroundWith(void (*sendTriangles)());
// One frame of the background: AdvanceBackground, then EmitBackground.
void DrawBackground();
