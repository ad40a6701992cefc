#include "bench/colour_field_reference.h"

#include <cmath>

#include "background/background_state.h"
#include "background/colour_field.h"
#include "common/store.h"

namespace {

double SineSquared(double angle) {
  const double s = std::sin(angle);
  return s * s;
}

}  // namespace

void ComputeBackgroundColoursReference(BackgroundState& background) {
  const BackgroundPhasesData& ph = background.phases;
  BackgroundGridData& grid = background.grid;
  const int rows = grid.rows;
  for (int i = 0; i <= rows; ++i) {
    for (int j = 0; j <= grid.cols; ++j) {
      const float u = Store(static_cast<double>(j) / rows + ph.phaseA);
      const float v = Store(static_cast<double>(i) / rows + ph.phaseC);
      const double sinUsinV = std::sin(static_cast<double>(u)) * std::sin(static_cast<double>(v));
      const double p = sinUsinV * sinUsinV;
      grid.red[i][j] = FinishColourChannel(SineSquared(static_cast<double>(u) + ph.phaseA + ph.phaseB) + p);
      grid.green[i][j] = FinishColourChannel(SineSquared(static_cast<double>(v) + ph.phaseC + ph.phaseA) + p);
      grid.blue[i][j] = FinishColourChannel(SineSquared(static_cast<double>(u) + v - ph.phaseB) + p);
    }
  }
}
