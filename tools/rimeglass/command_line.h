#pragma once
#include <cstdint>
#include <string>

enum class ToolAction { Render, DumpCrystal, DumpScene, Bench, PrintVersion };

// What the saver's set-up needs, with a fixed seed in place of the clock.
struct SceneOptions {
  int width = 0;
  int height = 0;
  bool preview = false;
  uint32_t seed = 0;
  uint32_t frames = 0;
};

struct ToolCommand {
  ToolAction action = ToolAction::PrintVersion;
  SceneOptions scene;
  int shape[3] = {0, 0, 0};  // thousandths, for dump crystal
  std::string outPath;       // for render
  bool json = false;         // for bench
};

// One line that shows every form the tool accepts.
extern const char* const ToolUsage;

// Reads argv[1..argc-1]. On a bad command line returns false and a one-line
// reason in `error`.
bool ParseToolCommand(int argc, const char* const argv[], ToolCommand& command,
                      std::string& error);
