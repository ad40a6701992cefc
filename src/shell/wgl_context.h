#pragma once
#include <windows.h>

struct Scene;

// The Windows half of the rendering set-up: one double-buffered RGBA context
// on a window's device context, current on the GUI thread.

// Chooses the format closest to SaverPixelFormat and sets it when one exists;
// true when a format was set.
bool SetupPixelFormat(HDC dc);

// GetDC, pixel format, context, make current; true when every step worked.
// The handles are returned even when a step failed; drawing then does nothing.
bool MakeCurrentGLContext(HWND window, HDC& dc, HGLRC& rc);

// MakeCurrentGLContext, then InitGL for the scene; MakeCurrentGLContext's result.
bool CreateGLContext(HWND window, const Scene& scene, HDC& dc, HGLRC& rc);

// Shows the finished frame on whatever device context is current.
void PresentFrame();

// Rendering context first, then the device context.
void ReleaseGLContext(HWND window, HDC dc, HGLRC rc);
