#include "bench/scene_bench.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "background/background_triangles.h"
#include "background/colour_field.h"
#include "background/draw_background.h"
#include "bench/colour_field_reference.h"
#include "bench/gl_stream.h"
#include "common/gl.h"
#include "common/random.h"
#include "crystal/crystal_model.h"
#include "crystal/crystal_triangles.h"
#include "crystal/draw_crystal.h"
#include "render/draw_scene.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t MaxFrames = 20000;
// Every so many frames the turn is set to its last step, so that frame grows
// a new crystal through the real code path.
constexpr uint32_t RegrowEvery = 25;
constexpr uint32_t WarmUpFrames = 10;

enum Figure { Own, Colour, Regrow, Frame, Replay, ClearOnly, ReferenceColour, FigureCount };
const char* const FigureNames[FigureCount] = {"own_ms",   "colour_ms",  "regrow_ms",          "frame_ms",
                                              "replay_ms", "clear_ms", "reference_colour_ms"};
const char* const FigureLabels[FigureCount] = {
    "own work (phases, colours, turn)", "  of which colour field", "own work, regrowing frames",
    "full frame (clear, scene, finish)", "replay floor (same GL calls)", "clear + finish alone",
    "reference colour field"};

struct Samples {
  double values[MaxFrames];
  uint32_t count;
};
Samples Measured[FigureCount];
// Each frame against its own replay, measured back to back: steadier than a
// ratio of medians on a machine whose load drifts.
Samples FrameOverReplay;

RecordedStream BackgroundStream, FrontStream, BackStream;
GridField ProjectRed, ProjectGreen, ProjectBlue;
// The benchmarked scene, and room to undo one frame's own work on it.
std::unique_ptr<Scene> BenchScene;
CrystalState SavedCrystal;

struct SceneState {
  BackgroundPhasesData phases;
  RandomGenerator random;
};

SceneState TakeState(const Scene& scene) {
  SavedCrystal = scene.crystal;
  return {scene.background.phases, scene.random};
}

void RestoreState(Scene& scene, const SceneState& state) {
  scene.crystal = SavedCrystal;
  scene.background.phases = state.phases;
  scene.random = state.random;
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void Add(Samples& s, double value) {
  if (s.count < MaxFrames) s.values[s.count++] = value;
}

void Add(Figure figure, double value) { Add(Measured[figure], value); }

// Value at fraction q of the sorted samples (nearest rank).
double Quantile(Samples& s, double q) {
  if (s.count == 0) return 0.0;
  std::sort(s.values, s.values + s.count);
  const uint32_t rank = static_cast<uint32_t>(q * (s.count - 1) + 0.5);
  return s.values[rank];
}

void RecordFrameStream(const Scene& scene) {
  BackgroundStream.used = FrontStream.used = BackStream.used = 0;
  SendBackgroundTriangles(BackgroundStream, scene.background);
  SendCrystalFace(FrontStream, scene.crystal.model, scene.crystal.latticeSize, true);
  SendCrystalFace(BackStream, scene.crystal.model, scene.crystal.latticeSize, false);
}

// The frame's GL calls through the passes' own set-up, with every per-vertex
// value taken from the recording.
void ReplayScene(const Scene& scene) {
  BeginBackgroundPass();
  EmitBackgroundWith(scene.background, [](const BackgroundState&) { ReplayTriangles(BackgroundStream, 3); });
  BeginCrystalPass();
  EmitCrystalWith(scene.crystal,
                  [](const CrystalState&, bool front) { ReplayTriangles(front ? FrontStream : BackStream, 4); });
}

void CopyField(const GridField& from, GridField& to) { std::memcpy(&to, &from, sizeof(GridField)); }

long CountDifferences(const BackgroundGridData& grid, const GridField& a, const GridField& b) {
  long differences = 0;
  for (int i = 0; i <= grid.rows; ++i) {
    for (int j = 0; j <= grid.cols; ++j) differences += a[i][j] != b[i][j];
  }
  return differences;
}

// One measured frame: the own work (then undone), the real frame, its replay,
// a bare clear, and the reference colour field.
long MeasureFrame(Scene& scene, bool regrow) {
  BackgroundGridData& grid = scene.background.grid;
  if (regrow) {
    scene.crystal.angle = 449.75f;
    scene.crystal.angleStep = 0.25f;
  }
  const SceneState before = TakeState(scene);
  const Clock::time_point t0 = Clock::now();
  AdvanceBackgroundPhases(scene.background.phases, scene.random);
  const Clock::time_point t1 = Clock::now();
  ComputeBackgroundColours(scene.background);
  const Clock::time_point t2 = Clock::now();
  AdvanceCrystalTurn(scene.crystal, scene.random);
  const Clock::time_point t3 = Clock::now();
  Add(regrow ? Regrow : Own, Milliseconds(t0, t3));
  Add(Colour, Milliseconds(t1, t2));
  RestoreState(scene, before);

  const Clock::time_point f0 = Clock::now();
  DrawFrame(scene);
  glFinish();
  const double frame = Milliseconds(f0, Clock::now());
  Add(Frame, frame);

  RecordFrameStream(scene);
  const Clock::time_point r0 = Clock::now();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ReplayScene(scene);
  glFinish();
  const double replay = Milliseconds(r0, Clock::now());
  Add(Replay, replay);
  Add(FrameOverReplay, frame / replay);

  const Clock::time_point c0 = Clock::now();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFinish();
  Add(ClearOnly, Milliseconds(c0, Clock::now()));

  CopyField(grid.red, ProjectRed);
  CopyField(grid.green, ProjectGreen);
  CopyField(grid.blue, ProjectBlue);
  const Clock::time_point g0 = Clock::now();
  ComputeBackgroundColoursReference(scene.background);
  Add(ReferenceColour, Milliseconds(g0, Clock::now()));
  const long mismatches = CountDifferences(grid, ProjectRed, grid.red) +
                          CountDifferences(grid, ProjectGreen, grid.green) +
                          CountDifferences(grid, ProjectBlue, grid.blue);
  CopyField(ProjectRed, grid.red);
  CopyField(ProjectGreen, grid.green);
  CopyField(ProjectBlue, grid.blue);
  return mismatches;
}

void PrintReport(const SceneOptions& options, bool json, uint32_t frames, long mismatches, std::FILE* out) {
  double median[FigureCount], low[FigureCount], high[FigureCount];
  for (int f = 0; f < FigureCount; ++f) {
    median[f] = Quantile(Measured[f], 0.5);
    low[f] = Quantile(Measured[f], 0.1);
    high[f] = Quantile(Measured[f], 0.9);
  }
  const double frameOverReplay = Quantile(FrameOverReplay, 0.5);
  const double referenceOverOwn = median[ReferenceColour] / median[Own];
  const double regrowAdded = median[Regrow] - median[Own];
  if (json) {
    std::fprintf(out, "{\"size\":[%d,%d],\"preview\":%s,\"frames\":%u", options.width, options.height,
                 options.preview ? "true" : "false", frames);
    for (int f = 0; f < FigureCount; ++f) {
      std::fprintf(out, ",\"%s\":%.6f,\"%s_p10\":%.6f,\"%s_p90\":%.6f", FigureNames[f], median[f], FigureNames[f],
                   low[f], FigureNames[f], high[f]);
    }
    std::fprintf(out,
                 ",\"colour_mismatches\":%ld,\"frame_over_replay\":%.4f,\"reference_over_own\":%.2f,"
                 "\"regrow_added_ms\":%.6f}\n",
                 mismatches, frameOverReplay, referenceOverOwn, regrowAdded);
    return;
  }
  std::fprintf(out, "rimeglass bench: %dx%d %s, %u frames; ms per frame, median [10%%, 90%%]\n", options.width,
               options.height, options.preview ? "preview" : "full screen", frames);
  for (int f = 0; f < FigureCount; ++f) {
    std::fprintf(out, "  %-36s %9.4f [%.4f, %.4f]\n", FigureLabels[f], median[f], low[f], high[f]);
  }
  std::fprintf(out, "  %-36s %9ld\n", "colour floats differing from reference", mismatches);
  std::fprintf(out, "  %-36s %9.4f\n", "full frame / replay (paired median)", frameOverReplay);
  std::fprintf(out, "  %-36s %9.2f\n", "reference colour / own work", referenceOverOwn);
  std::fprintf(out, "  %-36s %9.4f\n", "added by a regrowth", regrowAdded);
}

}  // namespace

int RunSceneBench(const SceneOptions& options, bool json, std::FILE* out) {
  const uint32_t frames = std::min(options.frames, MaxFrames);
  for (Samples& s : Measured) s.count = 0;
  FrameOverReplay.count = 0;
  BenchScene = StartScene(options.width, options.height, options.seed, options.preview);
  Scene& scene = *BenchScene;
  for (uint32_t frame = 0; frame < WarmUpFrames; ++frame) {
    DrawFrame(scene);
    glFinish();
  }
  long mismatches = 0;
  for (uint32_t frame = 0; frame < frames; ++frame) {
    mismatches += MeasureFrame(scene, frame % RegrowEvery == RegrowEvery - 1);
  }
  PrintReport(options, json, frames, mismatches, out);
  return 0;
}
