#pragma once
#include <GL/glx.h>

#include <string>

// The saver's one GLX context, on the visual of the window it draws in.

// Also learns GLXErrorBase, so that GLX errors can be told apart.
bool DisplayHasGLX(Display* display);
extern int GLXErrorBase;

// GLXBadDrawable (GL/glxproto.h): a GLX request named a window that is gone.
constexpr int GLXBadDrawableError = 2;

// A double-buffered RGBA visual, like the Windows pixel format: colour only,
// no depth buffer. Only for a window of the saver's own; the caller XFrees it.
XVisualInfo* ChooseSaverVisual(Display* display);

// Makes a context on SaverWindow's own visual (never another: a window we
// were given keeps the visual its maker chose) and makes it current.
bool CreateSaverContext(std::string& error);

// Swaps the window's buffers; a single-buffered visual is flushed instead.
void PresentSaverFrame();

// Unbinds and destroys the context, if one was made.
void ReleaseSaverContext();
