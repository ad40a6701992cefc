#pragma once

// Turning state in degrees; lives for the whole process.
extern float CrystalAngle;
extern float CrystalAngleStep;

// The frame's state change: turn a quarter degree, and grow a new crystal
// when a full turn completes. No GL.
void AdvanceCrystalTurn();
// Emits both faces of the crystal at the current angle. GL only, no state change.
void EmitCrystal();
// One frame of the crystal: AdvanceCrystalTurn, then EmitCrystal.
void DrawCrystal();
