#pragma once

struct Scene;

// A raw channel in [0, 2], folded into [0, 1], square-rooted and lowered by
// 0.2; each stage is stored as a float before the next reads it.
float FinishColourChannel(double raw);

// Recolours every used vertex of the scene's grid from its phases. No GL.
// Most of the sines depend on the column alone or the row alone, so they are
// taken once per column and row; the stored floats equal the reference's.
void ComputeBackgroundColours(Scene& scene);
// The same field with every sine of every vertex taken as the formulas are
// written: the yardstick the fast field is checked and measured against.
void ComputeBackgroundColoursReference(Scene& scene);
