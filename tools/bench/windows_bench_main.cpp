// rimeglass-bench.exe: the scene benchmark on the Windows build's own
// compiler, C runtime and maths library, drawing through WGL into a plain
// popup window. Never part of the saver itself.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/scene_bench.h"
#include "shell/wgl_context.h"
#include "rimeglass/command_line.h"

namespace {

LRESULT CALLBACK BenchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateBenchWindow(int width, int height) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = BenchWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RimeglassBench";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "RimeglassBench", "rimeglass bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  // The same options as `rimeglass-tool bench`.
  std::vector<const char*> arguments = {"rimeglass-bench", "bench"};
  for (int k = 1; k < argc; ++k) arguments.push_back(argv[k]);
  ToolCommand command;
  std::string error;
  if (!ParseToolCommand(static_cast<int>(arguments.size()), arguments.data(), command, error) ||
      command.action != ToolAction::Bench) {
    std::fprintf(stderr, "rimeglass-bench: %s\nusage: rimeglass-bench [--size WxH] [--preview] [--seed N] "
                 "[--frames K] [--json]\n", error.c_str());
    return 2;
  }
  const SceneOptions& scene = command.scene;
  const HWND window = CreateBenchWindow(scene.width, scene.height);
  if (window == nullptr) {
    std::fprintf(stderr, "rimeglass-bench: no window\n");
    return 1;
  }
  HDC dc = nullptr;
  HGLRC rc = nullptr;
  // The bench prepares its own scene and runs InitGL for it.
  if (!MakeCurrentGLContext(window, dc, rc)) {
    std::fprintf(stderr, "rimeglass-bench: no OpenGL context\n");
    return 1;
  }
  const int status = RunSceneBench(scene, command.json, stdout);
  ReleaseGLContext(window, dc, rc);
  DestroyWindow(window);
  return status;
}
