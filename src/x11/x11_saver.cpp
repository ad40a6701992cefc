#include "x11/x11_saver.h"

#include <cstdio>
#include <memory>
#include <string>

#include "common/random.h"
#include "linux/frame_loop.h"
#include "render/draw_frame.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"
#include "render/scene.h"
#include "x11/glx_context.h"
#include "x11/saver_window.h"

namespace {

// The Windows preview's coarser mesh and faster start, for small windows
// such as the settings dialog's 565x317 preview.
bool IsPreviewSize(int width, int height) { return width < 640 || height < 480; }

int Fail(SaverWindow& saver, const std::string& message) {
  std::fprintf(stderr, "rimeglass: %s\n", message.c_str());
  ReleaseSaverContext(saver);
  CloseSaverWindow(saver);
  return 1;
}

void RunFrames(SaverWindow& saver, Scene& scene, bool preview) {
  const int connection = ConnectionNumber(saver.display);
  FrameClock clock;
  StartFrameClock(clock);
  for (;;) {
    // Every wake starts with the events Xlib already holds (a reply can
    // bring some in without the connection turning readable), and sends
    // what is buffered before the wait.
    const WindowEvents events = HandleSaverWindowEvents(saver);
    if (events == WindowEvents::Closed) return;
    if (events == WindowEvents::Resized) {
      ResizeScene(scene, saver.width, saver.height, preview);
      InitGL(scene);
    }
    switch (WaitForWake(clock, connection)) {
      case Wake::Stop:
        return;
      case Wake::Connection:
        break;
      case Wake::Tick:
        DrawFrame(scene);
        PresentSaverFrame(saver);
        break;
    }
  }
}

}  // namespace

int RunX11Saver(const SaverOptions& options) {
  SaverWindow saver;
  std::string error;
  if (!OpenSaverWindow(options, saver, error)) return Fail(saver, error);
  const bool preview = IsPreviewSize(saver.width, saver.height);
  const std::unique_ptr<Scene> scene = MakeScene();
  PrepareScene(*scene, saver.width, saver.height, preview,
               options.seedGiven ? options.seed : ClockSeed());
  if (!CreateSaverContext(saver, error)) return Fail(saver, error);
  InitGL(*scene);

  RunFrames(saver, *scene, preview);

  ReleaseSaverContext(saver);
  CloseSaverWindow(saver);
  return 0;
}
