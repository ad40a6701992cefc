#pragma once

struct Scene;

// The turn a new run starts from: 0 degrees, not yet turning.
void ResetCrystalTurn(Scene& scene);
// The frame's state change: turn a quarter degree, and grow a new crystal
// when a full turn completes. No GL.
void AdvanceCrystalTurn(Scene& scene);
// Emits both faces of the crystal at the current angle. GL only, no state change.
void EmitCrystal(const Scene& scene);
// Each face's transform and primitive around triangles sent by sendFace:
// EmitCrystal's own, or a recording of it (the benchmark's replay).
void EmitCrystalWith(const Scene& scene, void (*sendFace)(const Scene& scene, bool front));
// One frame of the crystal: AdvanceCrystalTurn, then EmitCrystal.
void DrawCrystal(Scene& scene);
