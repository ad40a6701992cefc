#pragma once
#include <cstdint>
#include <string>

// The display system the saver draws through: --x11 or --wayland force one,
// Auto leaves it to ChooseDisplaySystem.
enum class DisplaySystem { Auto, X11, Wayland };

// Where the X11 saver draws, chosen once at start.
enum class WindowSource {
  Own,    // a window of its own, for trying the saver out
  Given,  // a window someone else made: the daemon's or a settings preview
  Root,   // the root window
};

// What the saver is run as: a saver that input ends; a session lock that
// only the user's password ends (Wayland); the background a lock host shows
// behind its own prompt (Wayland, its connection given in WAYLAND_SOCKET).
enum class SaverRole { Saver, Lock, Background };

struct SaverOptions {
  DisplaySystem display = DisplaySystem::Auto;
  SaverRole role = SaverRole::Saver;
  bool daemonize = false;  // --lock: go to the background once locked
  WindowSource source = WindowSource::Own;
  unsigned long windowId = 0;
  bool seedGiven = false;
  uint32_t seed = 0;
  bool help = false;
  bool version = false;
};

extern const char* const SaverUsage;

// The command line together with XSCREENSAVER_WINDOW (daemonWindow, null when
// unset). A window id on the command line comes first, then the daemon's
// window, then --root; with none of them the saver opens its own window.
// --wayland, --lock and --background take no X11 window: XSCREENSAVER_WINDOW
// is not read, and --root or --window-id with them is an error.
// On failure `error` holds one line without a trailing newline.
bool ParseSaverOptions(int argc, const char* const argv[], const char* daemonWindow,
                       SaverOptions& options, std::string& error);

// X11 or Wayland, never Auto. Wayland when forced, or when not forced, no
// X11 window is asked for (XSCREENSAVER_WINDOW, --window-id, --root) and
// WAYLAND_SOCKET (a connection handed over) or WAYLAND_DISPLAY is set and
// not empty (each null when unset).
DisplaySystem ChooseDisplaySystem(const SaverOptions& options, const char* waylandDisplay,
                                  const char* waylandSocket);
