#pragma once

struct BackgroundState;

// A raw channel in [0, 2], folded into [0, 1], square-rooted and lowered by
// 0.2; each stage is stored as a float before the next reads it.
float FinishColourChannel(double raw);

// Recolours every used vertex of the grid from the phases. No GL. Most of
// the sines depend on the column alone or the row alone, so they are taken
// once per column and row; the stored floats equal those of the formulas
// taken vertex by vertex.
void ComputeBackgroundColours(BackgroundState& background);
