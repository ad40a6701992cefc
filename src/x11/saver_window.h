#pragma once
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

#include "linux/saver_options.h"

// The display connection, the window the saver draws in and the GLX context
// on it: made by OpenSaverWindow and CreateSaverContext, handed to every
// function that touches them.
struct SaverWindow {
  Display* display = nullptr;
  Window window = None;
  int width = 0;
  int height = 0;
  bool owned = false;        // made by the saver, so it takes keys and closes itself
  Atom deleteWindow = None;  // WM_DELETE_WINDOW, for a window of its own
  // Set when the window vanished under the saver, for example when the
  // daemon destroyed it before its SIGTERM arrived.
  bool gone = false;
  // Nothing drawn could be seen: the window is unmapped, not viewable or
  // fully covered by other windows. Cleared when it shows again.
  bool hidden = false;
  // Tells GLX's errors about the window apart; until GLX is queried, a base
  // no 8-bit error code can reach.
  int glxErrorBase = 256;
  GLXContext context = nullptr;
  bool doubleBuffered = true;
};

// Opens the display, installs the error handlers and finds or makes the
// window. The window's size and whether it shows are read from the server.
// On failure `error` says why in one line and nothing the saver made is left
// on the display. The error handlers report on this one window until
// CloseSaverWindow; once drawing may start, an error saying the window is
// gone ends the process quietly with status 0, as its destruction does.
bool OpenSaverWindow(const SaverOptions& options, SaverWindow& saver, std::string& error);

enum class WindowEvents { Unchanged, Resized, Closed };

// Handles every event already queued, without waiting: a new size, the
// window hidden or shown again (see `hidden`), the window destroyed, or (own
// window) a close request, Escape or q. Sends whatever requests are still
// buffered on the way.
WindowEvents HandleSaverWindowEvents(SaverWindow& saver);

// Destroys a window of the saver's own and closes the display.
void CloseSaverWindow(SaverWindow& saver);
