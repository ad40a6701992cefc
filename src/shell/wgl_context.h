#pragma once
#include <windows.h>

// The Windows half of the rendering set-up: one double-buffered RGBA context
// on a window's device context, current on the GUI thread.

// GetDC, pixel format, context, make current; true when every step worked.
// The handles are returned even when a step failed.
bool MakeCurrentGLContext(HWND window, HDC& dc, HGLRC& rc);

// Rendering context first, then the device context.
void ReleaseGLContext(HWND window, HDC dc, HGLRC rc);
