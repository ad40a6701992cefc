#pragma once
#include <cstdio>

struct CrystalState;
struct Scene;

// JSON views of a scene. Floats are printed with nine
// significant digits, enough to read back the same single-precision value.

// The base sector of the crystal model, row by row, column by column, under the
// shape it was grown with (in thousandths, as given on the command line).
void PrintCrystalJson(std::FILE* out, const CrystalState& crystal, const int shapeThousandths[3]);
// Grid counts, phases, shape, turning and the used block of every grid array.
void PrintSceneJson(std::FILE* out, const Scene& scene);
