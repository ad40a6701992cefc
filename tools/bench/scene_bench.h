#pragma once
#include <cstdio>

#include "rimeglass/command_line.h"

// Runs the scene for scene.frames frames on the GL context current on this
// thread and prints, per frame, medians and spread of the program's own work,
// the full frame, the GL's floor (the same calls replayed from recorded data;
// clear and finish alone) and a reference colour field, with the count of
// colour floats that differ from it; as JSON when asked. Returns the process
// exit code.
int RunSceneBench(const SceneOptions& scene, bool json, std::FILE* out);
