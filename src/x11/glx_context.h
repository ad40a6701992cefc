#pragma once
#include <string>

#include "x11/saver_window.h"

// The saver's one GLX context, on the visual of the window it draws in.

// Whether the display has GLX, and the base of its error codes.
bool DisplayHasGLX(Display* display, int& errorBase);

// GLXBadDrawable (GL/glxproto.h): a GLX request named a window that is gone.
constexpr int GLXBadDrawableError = 2;

// A double-buffered RGBA visual, like the Windows pixel format: colour only,
// no depth buffer. Only for a window of the saver's own; the caller XFrees it.
XVisualInfo* ChooseSaverVisual(Display* display);

// Makes a context on the window's own visual (never another: a window we
// were given keeps the visual its maker chose) and makes it current.
bool CreateSaverContext(SaverWindow& saver, std::string& error);

// Swaps the window's buffers; a single-buffered visual is flushed instead.
void PresentSaverFrame(const SaverWindow& saver);

// Unbinds and destroys the context, if one was made.
void ReleaseSaverContext(SaverWindow& saver);
