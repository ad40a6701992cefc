#pragma once
#include "background/background_grid.h"
#include "background/background_phases.h"

// Everything the background layer keeps for one screen: the drifting
// phases, the mesh with its colours, and the mesh's face normals.
struct BackgroundState {
  BackgroundPhasesData phases;
  BackgroundGridData grid;
  CellNormals normals;
};
