#pragma once
#include <cstdint>
#include <cstdio>

struct BenchOptions {
  int width = 1920;
  int height = 1080;
  bool preview = false;
  uint32_t frames = 300;
  uint32_t seed = 1;
  bool json = false;
};

// Runs the scene for options.frames frames on the GL context current on this
// thread and prints, per frame, medians and spread of the program's own work,
// the full frame, the GL's floor (the same calls replayed from recorded data;
// clear and finish alone) and a reference colour field, with the count of
// colour floats that differ from it. Returns the process exit code.
int RunSceneBench(const BenchOptions& options, std::FILE* out);
