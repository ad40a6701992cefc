// rimeglass: the X11 saver. XScreenSaver and xsecurelock start it with a
// window to draw in (XSCREENSAVER_WINDOW); the settings preview passes
// --window-id; run by hand it opens a window of its own. It draws the same
// scene as the Windows saver, one frame per 10 ms tick, until a signal, the
// window's end or the display's end stops it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/random.h"
#include "render/draw_frame.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"
#include "render/scene.h"
#include "x11/frame_pace.h"
#include "x11/glx_context.h"
#include "x11/saver_options.h"
#include "x11/saver_window.h"

namespace {

// The Windows preview's coarser mesh and faster start, for small windows
// such as the settings dialog's 565x317 preview.
bool IsPreviewSize(int width, int height) { return width < 640 || height < 480; }

int Fail(const std::string& message) {
  std::fprintf(stderr, "rimeglass: %s\n", message.c_str());
  ReleaseSaverContext();
  CloseSaverWindow();
  return 1;
}

void RunFrames(Scene& scene, bool preview) {
  StartFramePace();
  while (!StopRequested) {
    const WindowEvents events = HandleSaverWindowEvents();
    if (events == WindowEvents::Closed) break;
    if (events == WindowEvents::Resized) {
      ResizeScene(scene, SaverWindow.width, SaverWindow.height, preview);
      InitGL(scene);
    }
    DrawFrame(scene);
    PresentSaverFrame();
    WaitForNextFrame();
  }
}

}  // namespace

int main(int argc, char** argv) {
  // First of all, so that a daemon's early SIGTERM still ends the saver cleanly.
  InstallStopSignals();

  SaverOptions options;
  std::string error;
  if (!ParseSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), options, error)) {
    std::fprintf(stderr, "rimeglass: %s (see rimeglass --help)\n", error.c_str());
    return 1;
  }
  if (options.help) {
    std::puts(SaverUsage);
    return 0;
  }
  if (options.version) {
    std::printf("rimeglass %s\n", PROJECT_VERSION);
    return 0;
  }

  if (!OpenSaverWindow(options, error)) return Fail(error);
  const bool preview = IsPreviewSize(SaverWindow.width, SaverWindow.height);
  const std::unique_ptr<Scene> scene = MakeScene();
  PrepareScene(*scene, SaverWindow.width, SaverWindow.height, preview,
               options.seedGiven ? options.seed : ClockSeed());
  if (!CreateSaverContext(error)) return Fail(error);
  InitGL(*scene);

  RunFrames(*scene, preview);

  ReleaseSaverContext();
  CloseSaverWindow();
  return 0;
}
