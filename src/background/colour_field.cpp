#include "background/colour_field.h"

#include <algorithm>
#include <cmath>

#include "background/background_grid.h"
#include "background/background_state.h"
#include "common/store.h"

namespace {

double SineSquared(double angle) {
  const double s = std::sin(angle);
  return s * s;
}

// Per-column and per-row terms of the current frame.
struct ColourFieldTerms {
  float u[BackgroundMaxCols];
  double sinU[BackgroundMaxCols];
  double cosU[BackgroundMaxCols];
  double red[BackgroundMaxCols];  // sin^2(u + A + B)
  float v[BackgroundMaxRows];
  double sinV[BackgroundMaxRows];
  double green[BackgroundMaxRows];     // sin^2(v + C + A)
  double sinVminusB[BackgroundMaxRows];
  double cosVminusB[BackgroundMaxRows];
};

// Scratch for one call: filled whole before it is read, so scenes share it.
ColourFieldTerms Terms;

// Bound on how far the blue raw value from the angle-sum identity can lie
// from the directly computed one: a few units of 1e-15, with a wide margin.
constexpr double BlueRawTolerance = 1e-12;

// Folding v > 1 to 2 - v is min(v, 2 - v): 2 - v is exact for any float in
// [1, 2], and v itself is kept, however small (1 - |1 - v| would round a tiny
// v away). A min, not a branch, so the row loops vectorise.
inline float FinishChannel(float value) {
  const float folded = std::min(value, 2.0f - value);
  return Store(std::sqrt(static_cast<double>(folded)) - 0.2);
}

// One row of the field. The blue sine comes from sin(u + (v - B)) by the
// angle-sum identity; returns how many blue values lie too close to a float
// rounding boundary to be sure they round like the direct sine.
int ColourRow(BackgroundGridData& grid, int i, int cols) {
  const ColourFieldTerms& t = Terms;
  float* __restrict red = grid.red[i];
  float* __restrict green = grid.green[i];
  float* __restrict blue = grid.blue[i];
  const double sinV = t.sinV[i], greenTerm = t.green[i];
  const double sinVminusB = t.sinVminusB[i], cosVminusB = t.cosVminusB[i];
  int uncertain = 0;
  for (int j = 0; j <= cols; ++j) {
    const double sinUsinV = t.sinU[j] * sinV;
    const double p = sinUsinV * sinUsinV;
    const double sine = t.sinU[j] * cosVminusB + t.cosU[j] * sinVminusB;
    const double blueRaw = sine * sine + p;
    uncertain += Store(blueRaw - BlueRawTolerance) != Store(blueRaw + BlueRawTolerance);
    red[j] = FinishChannel(Store(t.red[j] + p));
    green[j] = FinishChannel(Store(greenTerm + p));
    blue[j] = FinishChannel(Store(blueRaw));
  }
  return uncertain;
}

// The rare row with an uncertain blue value: every blue of the row is taken
// from the direct sine.
void ColourRowBlueDirectly(BackgroundGridData& grid, float phaseB, int i, int cols) {
  const ColourFieldTerms& t = Terms;
  for (int j = 0; j <= cols; ++j) {
    const double sinUsinV = t.sinU[j] * t.sinV[i];
    const double p = sinUsinV * sinUsinV;
    const double raw = SineSquared(static_cast<double>(t.u[j]) + t.v[i] - phaseB) + p;
    grid.blue[i][j] = FinishChannel(Store(raw));
  }
}

}  // namespace

float FinishColourChannel(double raw) {
  float value = Store(raw);
  if (value > 1) value = Store(2.0 - value);
  return Store(std::sqrt(static_cast<double>(value)) - 0.2);
}

void ComputeBackgroundColours(BackgroundState& background) {
  const BackgroundPhasesData& ph = background.phases;
  BackgroundGridData& grid = background.grid;
  const int rows = grid.rows, cols = grid.cols;
  ColourFieldTerms& t = Terms;
  // Both coordinates divide by the row count: the spacings are nearly equal,
  // so the field is not stretched.
  for (int j = 0; j <= cols; ++j) {
    t.u[j] = Store(static_cast<double>(j) / rows + ph.phaseA);
    t.sinU[j] = std::sin(static_cast<double>(t.u[j]));
    t.cosU[j] = std::cos(static_cast<double>(t.u[j]));
    t.red[j] = SineSquared(static_cast<double>(t.u[j]) + ph.phaseA + ph.phaseB);
  }
  for (int i = 0; i <= rows; ++i) {
    t.v[i] = Store(static_cast<double>(i) / rows + ph.phaseC);
    t.sinV[i] = std::sin(static_cast<double>(t.v[i]));
    t.green[i] = SineSquared(static_cast<double>(t.v[i]) + ph.phaseC + ph.phaseA);
    const double vMinusB = static_cast<double>(t.v[i]) - ph.phaseB;
    t.sinVminusB[i] = std::sin(vMinusB);
    t.cosVminusB[i] = std::cos(vMinusB);
  }
  for (int i = 0; i <= rows; ++i) {
    if (ColourRow(grid, i, cols) != 0) ColourRowBlueDirectly(grid, ph.phaseB, i, cols);
  }
}
