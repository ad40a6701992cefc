#pragma once
#include <string>

#include "rimeglass/command_line.h"

// Sets the scene up as the saver's window does, draws scene.frames frames
// offscreen and writes the last one to a PNG. Returns false with the reason
// in `error`.
bool RenderSceneToPng(const SceneOptions& scene, const std::string& path, std::string& error);
