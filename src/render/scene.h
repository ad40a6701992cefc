#pragma once
#include <cstdint>
#include <memory>

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "common/random.h"
#include "common/viewport.h"
#include "crystal/crystal_model.h"

// Everything one screen's picture depends on. Each screen has its own, made
// once before its first frame; the procedures that draw act on the scene
// they are given, so scenes in one process never touch each other.
struct Scene {
  ViewportSizeData viewportSize;
  bool preview;  // the coarser mesh, kept when the window changes size
  RandomGenerator random;
  BackgroundPhasesData backgroundPhases;
  CrystalModelData crystalModel;
  int32_t latticeSize;
  CrystalShapeData crystalShape;
  CrystalOrbitData crystalOrbit;
  float crystalAngle;  // degrees
  float crystalAngleStep;
  BackgroundGridData backgroundGrid;
  CellNormals backgroundNormals;
};

// A few megabytes, zeroed: allocated here, never while frames are drawn.
std::unique_ptr<Scene> MakeScene();
