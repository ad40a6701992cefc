// rimeglass-tool: runs the saver's drawing core without Windows, with a fixed seed
// in place of the clock, to render frames to PNG files or dump the scene.
#include <cstdio>
#include <string>

#include "bench/scene_bench.h"
#include "crystal/crystal_model.h"
#include "offscreen/offscreen_gl.h"
#include "render/draw_scene.h"
#include "render/scene.h"
#include "rimeglass/command_line.h"
#include "rimeglass/render_scene.h"
#include "rimeglass/scene_json.h"

namespace {

constexpr int BadArguments = 2;
constexpr int Failed = 1;

int RunCommand(const ToolCommand& command) {
  const SceneOptions& scene = command.scene;
  switch (command.action) {
    case ToolAction::PrintVersion:
      std::printf("rimeglass-tool %s\n", PROJECT_VERSION);
      return 0;
    case ToolAction::DumpCrystal: {
      const auto crystal = std::make_unique<CrystalState>();
      GenerateCrystalWithShape(*crystal, static_cast<float>(command.shape[0] / 1000.0),
                               static_cast<float>(command.shape[1] / 1000.0),
                               static_cast<float>(command.shape[2] / 1000.0));
      PrintCrystalJson(stdout, *crystal, command.shape);
      return 0;
    }
    case ToolAction::DumpScene: {
      const std::unique_ptr<Scene> dumped = MakeScene();
      PrepareScene(*dumped, scene.width, scene.height, scene.seed, scene.preview);
      for (uint32_t frame = 0; frame < scene.frames; ++frame) AdvanceScene(*dumped);
      PrintSceneJson(stdout, *dumped);
      return 0;
    }
    case ToolAction::Bench: {
      OffscreenGL gl;
      if (!gl.Create(scene.width, scene.height)) {
        std::fprintf(stderr, "rimeglass-tool: %s\n", gl.error().c_str());
        return Failed;
      }
      return RunSceneBench(scene, command.json, stdout);
    }
    case ToolAction::Render: {
      std::string error;
      if (!RenderSceneToPng(scene, command.outPath, error)) {
        std::fprintf(stderr, "rimeglass-tool: %s\n", error.c_str());
        return Failed;
      }
      return 0;
    }
  }
  return Failed;
}

}  // namespace

int main(int argc, char** argv) {
  ToolCommand command;
  std::string error;
  if (!ParseToolCommand(argc, argv, command, error)) {
    std::fprintf(stderr, "rimeglass-tool: %s\n%s\n", error.c_str(), ToolUsage);
    return BadArguments;
  }
  const int status = RunCommand(command);
  if (std::fflush(stdout) != 0) return Failed;
  return status;
}
