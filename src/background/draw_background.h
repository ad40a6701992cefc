#pragma once

// A raw channel in [0, 2], folded into [0, 1], square-rooted and lowered by
// 0.2; each stage is stored as a float before the next reads it.
float FinishColourChannel(double raw);
// Recolours every vertex of the grid from the current phases. No GL.
void ComputeBackgroundColours();
// The frame's state change: advance the phases, then recolour. No GL.
void AdvanceBackground();
// Emits the mesh with its current colours. GL only, no state change.
void EmitBackground();
// One frame of the background: AdvanceBackground, then EmitBackground.
void DrawBackground();
