#pragma once

// The frame's state change: advance the phases, then recolour. No GL.
void AdvanceBackground();
// Emits the mesh with its current colours. GL only, no state change.
void EmitBackground();
// One frame of the background: AdvanceBackground, then EmitBackground.
void DrawBackground();
