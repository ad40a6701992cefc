#include <cmath>

#include "common/random.h"
#include "common/store.h"
#include "crystal/crystal_model.h"
#include "crystal/orbit_log.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double SolidLevel = 0.1;  // levels above this are part of the plate
constexpr float RimHeight = 0.1f;

double Square(double value) { return value * value; }

void LayOutLattice(CrystalModelData& model, int n) {
  for (int s = 0; s < CrystalSectors; ++s) {
    const float theta = Store(s * Pi / 3);
    const double c = std::cos(static_cast<double>(theta));
    const double sn = std::sin(static_cast<double>(theta));
    for (int i = 0; i <= n; ++i) {
      for (int j = 0; j <= i; ++j) {
        // The 0.000001 keeps row 0 finite and is part of the lattice as drawn.
        const float x0 = Store(0.355 * i / n);
        const float y0 = Store((static_cast<double>(i) / n) * (j / (i + 0.000001) - 0.5) * 0.41);
        model.x[s][i][j] = Store(c * x0 - sn * y0);
        model.y[s][i][j] = Store(sn * x0 + c * y0);
      }
    }
  }
}

double Quantise(double v) {
  if (v <= 0.1) return v;
  if (v <= 0.5) return 0.5;
  if (v <= 0.7) return 0.7;
  return 0.9;
}

// Levels, and the height of each base-sector point kept in alpha until the end.
void GrowLevels(CrystalState& crystal, int n) {
  CrystalModelData& model = crystal.model;
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= i; ++j) {
      const OrbitEscape escape = RunCrystalOrbit(crystal, i, j);
      double v = Square(escape.step / 50.0) - std::fabs(static_cast<double>(escape.logMagnitude)) / 15;
      if (v > 1) v = 2 - v;
      const float level = Store(Quantise(v));
      model.level[0][i][j] = level;
      model.red[0][i][j] = 1.0f;
      model.green[0][i][j] = 1.0f;
      model.blue[0][i][j] = 1.0f;
      float height = 0.0f;
      if (level > SolidLevel) height = Store(std::sqrt(std::sqrt(static_cast<double>(level))));
      if (i == n) height = RimHeight;
      model.alpha[0][i][j] = height;
    }
  }
}

bool IsSolid(const CrystalModelData& model, int i, int j) { return model.level[0][i][j] > SolidLevel; }

void RaiseToRim(CrystalModelData& model, int i, int j) {
  if (model.alpha[0][i][j] == 0.0f) model.alpha[0][i][j] = RimHeight;
}

// Halo, depths and alpha. A point's own halo and the halos of the row above
// run before its depth and alpha are read from its height.
void ShapeBaseSector(CrystalModelData& model, int n) {
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= i; ++j) {
      if (i < n && (IsSolid(model, i, j) || IsSolid(model, i + 1, j) || IsSolid(model, i + 1, j + 1))) {
        RaiseToRim(model, i, j);
        RaiseToRim(model, i + 1, j);
        RaiseToRim(model, i + 1, j + 1);
      }
      const float height = model.alpha[0][i][j];
      const float zFront = Store(height / 50.0 - 0.002);
      model.zFront[0][i][j] = zFront;
      model.zBack[0][i][j] = -zFront;
      if (height >= 0.1) {
        model.alpha[0][i][j] = Store(std::pow(height - 0.1, 4) + 0.2);
      }
    }
  }
}

void CopyToOtherSectors(CrystalModelData& model, int n) {
  for (int s = 1; s < CrystalSectors; ++s) {
    for (int i = 0; i <= n; ++i) {
      for (int j = 0; j <= i; ++j) {
        model.zFront[s][i][j] = model.zFront[0][i][j];
        model.zBack[s][i][j] = model.zBack[0][i][j];
        model.red[s][i][j] = model.red[0][i][j];
        model.green[s][i][j] = model.green[0][i][j];
        model.blue[s][i][j] = model.blue[0][i][j];
        model.alpha[s][i][j] = model.alpha[0][i][j];
      }
    }
  }
}

}  // namespace

OrbitEscape RunCrystalOrbit(CrystalState& crystal, int i, int j) {
  const int n = crystal.latticeSize;
  const CrystalShapeData& shape = crystal.shape;
  float* re = crystal.orbit.orbitRe;
  float* im = crystal.orbit.orbitIm;
  float* lg = crystal.orbit.orbitLog;
  // The row terms use i, not x; |y| makes the sector nearly mirror-symmetric.
  re[0] = Store(static_cast<double>(i) / n + 0.42 + i / (20.0 * shape.shapeP1 + 50.0 * n));
  im[0] = Store(std::fabs(static_cast<double>(crystal.model.y[0][i][j])) - 0.42 +
                shape.shapeP2 / 5.0 + i / (500.0 * shape.shapeP3 + 500));
  lg[0] = OrbitLogMagnitude(re[0], im[0]);
  for (int k = 1; k <= OrbitSteps; ++k) {
    const double r = re[k - 1], m = im[k - 1], l = lg[k - 1];
    re[k] = Store(r * r - m * m - l * l - 0.72);
    im[k] = Store(2 * r * m + 0.32);
    lg[k] = OrbitLogMagnitude(re[k], im[k]);
    if (lg[k] > 1) return {k, lg[k]};
  }
  return {OrbitSteps + 1, 0.0f};
}

void GenerateCrystalWithShape(CrystalState& crystal, float shapeP1, float shapeP2, float shapeP3) {
  const int n = LatticeRows - 1;
  crystal.latticeSize = n;
  crystal.shape = {shapeP1, shapeP2, shapeP3};
  LayOutLattice(crystal.model, n);
  GrowLevels(crystal, n);
  ShapeBaseSector(crystal.model, n);
  CopyToOtherSectors(crystal.model, n);
}

void GenerateCrystal(CrystalState& crystal, RandomGenerator& random) {
  const float p1 = Store(Random(random, 1000) / 1000.0);
  const float p2 = Store(Random(random, 1000) / 1000.0);
  const float p3 = Store(Random(random, 1000) / 1000.0);
  GenerateCrystalWithShape(crystal, p1, p2, p3);
}
