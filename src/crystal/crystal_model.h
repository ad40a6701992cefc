#pragma once
#include <cstdint>

struct RandomGenerator;

// Six 60-degree sectors of a triangular lattice: rows 0..LatticeRows-1,
// columns 0..row. Cells with column > row are storage only and stay 0.
constexpr int CrystalSectors = 6;
constexpr int LatticeRows = 21;  // N + 1 with N = 20
constexpr int OrbitSteps = 50;

using LatticeField = float[CrystalSectors][LatticeRows][LatticeRows];

struct CrystalModelData {
  LatticeField x;
  LatticeField y;
  LatticeField zFront;
  LatticeField zBack;
  LatticeField red;
  LatticeField green;
  LatticeField blue;
  LatticeField alpha;  // 0 means the point is absent
  LatticeField level;  // quantised escape value, base sector only
};

struct CrystalShapeData {
  float shapeP1;
  float shapeP2;
  float shapeP3;
};

// One orbit's working storage, entry k after step k.
struct CrystalOrbitData {
  float orbitRe[OrbitSteps + 1];
  float orbitIm[OrbitSteps + 1];
  float orbitLog[OrbitSteps + 1];
};

// Everything the crystal layer keeps for one screen: the lattice it grew,
// what it grew from, and how far it has turned.
struct CrystalState {
  CrystalModelData model;
  int32_t latticeSize;
  CrystalShapeData shape;
  CrystalOrbitData orbit;
  float angle;  // degrees
  float angleStep;
};

// Draws three shape parameters from the generator and grows a crystal.
void GenerateCrystal(CrystalState& crystal, RandomGenerator& random);
// Grows the crystal for given shape parameters; draws no random numbers.
void GenerateCrystalWithShape(CrystalState& crystal, float shapeP1, float shapeP2, float shapeP3);

// Escape of one point's orbit: the step (51 when it never escapes) and the
// log-magnitude at that step (0 when it never escapes).
struct OrbitEscape {
  int step;
  float logMagnitude;
};
// Runs the orbit of base-sector point (i, j) with the crystal's shape into its
// orbit storage; needs the lattice positions in place.
OrbitEscape RunCrystalOrbit(CrystalState& crystal, int i, int j);
