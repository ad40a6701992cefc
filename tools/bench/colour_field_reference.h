#pragma once

struct BackgroundState;

// The colour field with every sine of every vertex taken as the formulas are
// written: the yardstick the saver's faster field is checked and measured
// against.
void ComputeBackgroundColoursReference(BackgroundState& background);
