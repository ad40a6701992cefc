#include "x11/x11_saver.h"

#include <cstdio>
#include <memory>
#include <string>

#include "common/random.h"
#include "linux/frame_loop.h"
#include "render/scene.h"
#include "render/scene_lifecycle.h"
#include "x11/glx_context.h"
#include "x11/saver_window.h"

namespace {

int Fail(SaverWindow& saver, const std::string& message) {
  std::fprintf(stderr, "rimeglass: %s\n", message.c_str());
  ReleaseSaverContext(saver);
  CloseSaverWindow(saver);
  return 1;
}

void RunFrames(SaverWindow& saver, Scene& scene) {
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
      ReshapeScene(scene, saver.width, saver.height);
    }
    // Hidden, it draws nothing and sleeps until the server says more.
    switch (saver.hidden ? WaitForConnection(connection) : WaitForWake(clock, connection)) {
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
  if (!CreateSaverContext(saver, error)) return Fail(saver, error);
  // The settings dialog's small preview gets the preview's coarser mesh.
  const std::unique_ptr<Scene> scene =
      StartScene(saver.width, saver.height, options.seedGiven ? options.seed : ClockSeed(),
                 IsPreviewSize(saver.width, saver.height));

  RunFrames(saver, *scene);

  ReleaseSaverContext(saver);
  CloseSaverWindow(saver);
  return 0;
}
