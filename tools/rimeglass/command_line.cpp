#include "rimeglass/command_line.h"

#include <charconv>
#include <string_view>

const char* const ToolUsage =
    "usage: rimeglass-tool render --size WxH [--preview] --seed N [--frames K] --out FILE.png"
    " | rimeglass-tool dump crystal --shape P1,P2,P3"
    " | rimeglass-tool dump scene --size WxH [--preview] --seed N [--frames K]"
    " | rimeglass-tool bench [--size WxH] [--preview] [--seed N] [--frames K] [--json]"
    " | rimeglass-tool --version";

namespace {

// Large enough for any screen, small enough for Mesa's offscreen buffers.
constexpr int MaxSide = 16384;

// Plain decimal digits only: no sign, no spaces, nothing after the number.
bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size() && value <= max;
}

bool ParseSize(std::string_view text, SceneOptions& scene) {
  const size_t cross = text.find('x');
  uint64_t width = 0, height = 0;
  if (cross == std::string_view::npos || !ParseUnsigned(text.substr(0, cross), MaxSide, width) ||
      !ParseUnsigned(text.substr(cross + 1), MaxSide, height) || width == 0 || height == 0) {
    return false;
  }
  scene.width = static_cast<int>(width);
  scene.height = static_cast<int>(height);
  return true;
}

// Exactly three numbers 0..999 separated by commas.
bool ParseShape(std::string_view text, int shape[3]) {
  for (int k = 0; k < 3; ++k) {
    const size_t comma = text.find(',');
    const bool last = k == 2;
    if ((comma == std::string_view::npos) != last) return false;
    uint64_t value = 0;
    if (!ParseUnsigned(last ? text : text.substr(0, comma), 999, value)) return false;
    shape[k] = static_cast<int>(value);
    if (!last) text.remove_prefix(comma + 1);
  }
  return true;
}

// Which of the required options were given with a valid value.
struct OptionsSeen {
  bool size = false, seed = false, out = false, shape = false;
};

// The options after the command words. An option the command does not take
// is an error rather than silently ignored; a repeated option's last value
// counts.
bool ParseOptions(int first, int argc, const char* const argv[], ToolCommand& command,
                  OptionsSeen& seen, std::string& error) {
  const bool takesScene = command.action != ToolAction::DumpCrystal;
  for (int k = first; k < argc; ++k) {
    const std::string_view option = argv[k];
    if (takesScene && option == "--preview") {
      command.scene.preview = true;
      continue;
    }
    if (command.action == ToolAction::Bench && option == "--json") {
      command.json = true;
      continue;
    }
    const bool known = (takesScene && (option == "--size" || option == "--seed" ||
                                       option == "--frames")) ||
                       (command.action == ToolAction::Render && option == "--out") ||
                       (command.action == ToolAction::DumpCrystal && option == "--shape");
    if (!known) {
      error = "unknown option '" + std::string(option) + "'";
      return false;
    }
    if (k + 1 >= argc) {
      error = std::string(option) + " needs a value";
      return false;
    }
    const std::string_view value = argv[++k];
    uint64_t number = 0;
    bool valid = true;
    if (option == "--size") {
      valid = seen.size = ParseSize(value, command.scene);
    } else if (option == "--seed") {
      valid = seen.seed = ParseUnsigned(value, UINT32_MAX, number);
      command.scene.seed = static_cast<uint32_t>(number);
    } else if (option == "--frames") {
      valid = ParseUnsigned(value, UINT32_MAX, number);
      command.scene.frames = static_cast<uint32_t>(number);
    } else if (option == "--out") {
      valid = seen.out = !value.empty();
      command.outPath = value;
    } else {  // --shape
      valid = seen.shape = ParseShape(value, command.shape);
    }
    if (!valid) {
      error = "bad value '" + std::string(value) + "' for " + std::string(option);
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseToolCommand(int argc, const char* const argv[], ToolCommand& command,
                      std::string& error) {
  const std::string_view first = argc > 1 ? argv[1] : "";
  const std::string_view second = argc > 2 ? argv[2] : "";
  int optionsStart = 2;
  command = ToolCommand{};
  if (first == "--version" && argc == 2) {
    command.action = ToolAction::PrintVersion;
    return true;
  } else if (first == "render") {
    command.action = ToolAction::Render;
    command.scene.frames = 1;  // a picture needs at least one frame drawn
  } else if (first == "bench") {
    // A 1080p screen unless told otherwise; the seed only fixes which scene.
    command.action = ToolAction::Bench;
    command.scene = {1920, 1080, false, 1, 300};
  } else if (first == "dump" && (second == "crystal" || second == "scene")) {
    command.action = second == "crystal" ? ToolAction::DumpCrystal : ToolAction::DumpScene;
    optionsStart = 3;
  } else {
    error = argc > 1 ? "unknown command '" + std::string(first) + "'" : "no command given";
    return false;
  }

  OptionsSeen seen;
  if (!ParseOptions(optionsStart, argc, argv, command, seen, error)) return false;
  const char* missing = nullptr;
  if (command.action == ToolAction::DumpCrystal) {
    if (!seen.shape) missing = "--shape";
  } else if (command.action == ToolAction::Bench) {
    // every option has a default
  } else if (!seen.size) {
    missing = "--size";
  } else if (!seen.seed) {
    missing = "--seed";
  } else if (command.action == ToolAction::Render && !seen.out) {
    missing = "--out";
  }
  if (missing != nullptr) {
    error = std::string(missing) + " is required";
    return false;
  }
  if ((command.action == ToolAction::Render || command.action == ToolAction::Bench) &&
      command.scene.frames == 0) {
    error = std::string(first) + " needs --frames of at least 1";
    return false;
  }
  return true;
}
