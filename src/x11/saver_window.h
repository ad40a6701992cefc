#pragma once
#include <X11/Xlib.h>

#include <csignal>
#include <string>

#include "x11/saver_options.h"

// The one display connection and the one window the saver draws in.
struct SaverWindowData {
  Display* display;
  Window window;
  bool owned;           // made by the saver, so it takes keys and closes itself
  Atom deleteWindow;    // WM_DELETE_WINDOW, for a window of its own
  int width;
  int height;
};

extern SaverWindowData SaverWindow;

// Set by the X error handler when the window vanished under the saver, for
// example when the daemon destroyed it before its SIGTERM arrived.
extern volatile sig_atomic_t SaverWindowGone;

// Opens the display, installs the error handlers and finds or makes the
// window. The window's size is read from the server. On failure `error` says
// why in one line and nothing the saver made is left on the display.
bool OpenSaverWindow(const SaverOptions& options, std::string& error);

enum class WindowEvents { Unchanged, Resized, Closed };

// Handles every event already queued, without waiting: a new size, the
// window destroyed, or (own window) a close request, Escape or q.
WindowEvents HandleSaverWindowEvents();

// Destroys a window of the saver's own and closes the display.
void CloseSaverWindow();
