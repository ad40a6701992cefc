#pragma once

struct CrystalState;
struct RandomGenerator;

// The turn a new run starts from: 0 degrees, not yet turning.
void ResetCrystalTurn(CrystalState& crystal);
// The frame's state change: turn a quarter degree, and grow a new crystal
// (from the generator) when a full turn completes. No GL.
void AdvanceCrystalTurn(CrystalState& crystal, RandomGenerator& random);
// Emits both faces of the crystal at the current angle. GL only, no state change.
void EmitCrystal(const CrystalState& crystal);
// Each face's transform and primitive around triangles sent by sendFace:
// EmitCrystal's own, or a recording of it (the benchmark's replay).
void EmitCrystalWith(const CrystalState& crystal, void (*sendFace)(const CrystalState& crystal, bool front));
