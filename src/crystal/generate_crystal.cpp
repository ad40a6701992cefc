#include <cmath>

#include "common/random.h"
#include "common/store.h"
#include "crystal/crystal_model.h"
#include "crystal/orbit_log.h"

CrystalModelData CrystalModel;
int32_t LatticeSize = 0;
CrystalShapeData CrystalShape;
CrystalOrbitData CrystalOrbit;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double SolidLevel = 0.1;  // levels above this are part of the plate
constexpr float RimHeight = 0.1f;

double Square(double value) { return value * value; }

void LayOutLattice(int n) {
  for (int s = 0; s < CrystalSectors; ++s) {
    const float theta = Store(s * Pi / 3);
    const double c = std::cos(static_cast<double>(theta));
    const double sn = std::sin(static_cast<double>(theta));
    for (int i = 0; i <= n; ++i) {
      for (int j = 0; j <= i; ++j) {
        // The 0.000001 keeps row 0 finite and is part of the lattice as drawn.
        const float x0 = Store(0.355 * i / n);
        const float y0 = Store((static_cast<double>(i) / n) * (j / (i + 0.000001) - 0.5) * 0.41);
        CrystalModel.x[s][i][j] = Store(c * x0 - sn * y0);
        CrystalModel.y[s][i][j] = Store(sn * x0 + c * y0);
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
void GrowLevels(int n) {
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= i; ++j) {
      const OrbitEscape escape = RunCrystalOrbit(i, j);
      double v = Square(escape.step / 50.0) - std::fabs(static_cast<double>(escape.logMagnitude)) / 15;
      if (v > 1) v = 2 - v;
      const float level = Store(Quantise(v));
      CrystalModel.level[0][i][j] = level;
      CrystalModel.red[0][i][j] = 1.0f;
      CrystalModel.green[0][i][j] = 1.0f;
      CrystalModel.blue[0][i][j] = 1.0f;
      float height = 0.0f;
      if (level > SolidLevel) height = Store(std::sqrt(std::sqrt(static_cast<double>(level))));
      if (i == n) height = RimHeight;
      CrystalModel.alpha[0][i][j] = height;
    }
  }
}

bool IsSolid(int i, int j) { return CrystalModel.level[0][i][j] > SolidLevel; }

void RaiseToRim(int i, int j) {
  if (CrystalModel.alpha[0][i][j] == 0.0f) CrystalModel.alpha[0][i][j] = RimHeight;
}

// Halo, depths and alpha. A point's own halo and the halos of the row above
// run before its depth and alpha are read from its height.
void ShapeBaseSector(int n) {
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= i; ++j) {
      if (i < n && (IsSolid(i, j) || IsSolid(i + 1, j) || IsSolid(i + 1, j + 1))) {
        RaiseToRim(i, j);
        RaiseToRim(i + 1, j);
        RaiseToRim(i + 1, j + 1);
      }
      const float height = CrystalModel.alpha[0][i][j];
      const float zFront = Store(height / 50.0 - 0.002);
      CrystalModel.zFront[0][i][j] = zFront;
      CrystalModel.zBack[0][i][j] = -zFront;
      if (height >= 0.1) {
        CrystalModel.alpha[0][i][j] = Store(std::pow(height - 0.1, 4) + 0.2);
      }
    }
  }
}

void CopyToOtherSectors(int n) {
  for (int s = 1; s < CrystalSectors; ++s) {
    for (int i = 0; i <= n; ++i) {
      for (int j = 0; j <= i; ++j) {
        CrystalModel.zFront[s][i][j] = CrystalModel.zFront[0][i][j];
        CrystalModel.zBack[s][i][j] = CrystalModel.zBack[0][i][j];
        CrystalModel.red[s][i][j] = CrystalModel.red[0][i][j];
        CrystalModel.green[s][i][j] = CrystalModel.green[0][i][j];
        CrystalModel.blue[s][i][j] = CrystalModel.blue[0][i][j];
        CrystalModel.alpha[s][i][j] = CrystalModel.alpha[0][i][j];
      }
    }
  }
}

}  // namespace

OrbitEscape RunCrystalOrbit(int i, int j) {
  const int n = LatticeSize;
  float* re = CrystalOrbit.orbitRe;
  float* im = CrystalOrbit.orbitIm;
  float* lg = CrystalOrbit.orbitLog;
  // The row terms use i, not x; |y| makes the sector nearly mirror-symmetric.
  re[0] = Store(static_cast<double>(i) / n + 0.42 + i / (20.0 * CrystalShape.shapeP1 + 50.0 * n));
  im[0] = Store(std::fabs(static_cast<double>(CrystalModel.y[0][i][j])) - 0.42 +
                CrystalShape.shapeP2 / 5.0 + i / (500.0 * CrystalShape.shapeP3 + 500));
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

void GenerateCrystalWithShape(float shapeP1, float shapeP2, float shapeP3) {
  LatticeSize = LatticeRows - 1;
  CrystalShape = {shapeP1, shapeP2, shapeP3};
  LayOutLattice(LatticeSize);
  GrowLevels(LatticeSize);
  ShapeBaseSector(LatticeSize);
  CopyToOtherSectors(LatticeSize);
}

void GenerateCrystal() {
  const float p1 = Store(Random(1000) / 1000.0);
  const float p2 = Store(Random(1000) / 1000.0);
  const float p3 = Store(Random(1000) / 1000.0);
  GenerateCrystalWithShape(p1, p2, p3);
}
