// rimeglass: the Linux saver. XScreenSaver and xsecurelock start it with a
// window to draw in (XSCREENSAVER_WINDOW); the settings preview passes
// --window-id; run by hand it opens a window of its own. On Wayland (an idle
// daemon's command, or --wayland) it covers every output of the compositor;
// with --lock it locks the session behind a password prompt, and with
// --background it is the backdrop of a lock host's prompt.
// It draws the same scene as the Windows saver, one frame per 10 ms tick,
// until input, a signal, the window's end or the display's end stops it.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "linux/saver_options.h"
#include "linux/stop_signals.h"
#include "wayland/wayland_saver.h"
#include "x11/x11_saver.h"

int main(int argc, char** argv) {
  // First of all, before any thread, so that every thread inherits the mask
  // and a daemon's early SIGTERM waits for the first frame wait to end it.
  BlockStopSignals();
  // Fixed thresholds keep each output's frame buffers (megabytes each) in
  // mappings of their own, given back when the output goes; glibc would
  // raise them on the first such free and take the next from the heap,
  // where an unplugged output can leave megabytes it never returns. The
  // driver's half-megabyte blocks of each frame stay below them, on the heap.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 2 * 1024 * 1024);

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

  if (ChooseDisplaySystem(options, std::getenv("WAYLAND_DISPLAY"), std::getenv("WAYLAND_SOCKET")) ==
      DisplaySystem::Wayland) {
    return RunWaylandSaver(options);
  }
  // The X11 daemons lock, and run the saver behind their own prompt.
  if (options.role == SaverRole::Lock) {
    std::fputs("rimeglass: --lock is for Wayland; on X11 lock with XScreenSaver "
               "(xscreensaver-command -lock) or xsecurelock, which run rimeglass behind their prompt\n",
               stderr);
    return 2;
  }
  if (options.role == SaverRole::Background) {
    std::fputs("rimeglass: --background is for Wayland lock hosts; no Wayland compositor here\n", stderr);
    return 2;
  }
  return RunX11Saver(options);
}
