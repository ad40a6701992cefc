#include "shell/wgl_context.h"

#include <cstddef>
#include <cstring>

#include "shell/saver_pixel_format.h"

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == sizeof(PixelFormatFields));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, dwFlags) == offsetof(PixelFormatFields, dwFlags));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, cDepthBits) == offsetof(PixelFormatFields, cDepthBits));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, dwDamageMask) ==
              offsetof(PixelFormatFields, dwDamageMask));

namespace {

// Chooses the format closest to SaverPixelFormat and sets it when one exists;
// true when a format was set.
bool SetupPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR descriptor;
  std::memcpy(&descriptor, &SaverPixelFormat, sizeof descriptor);
  const int format = ChoosePixelFormat(dc, &descriptor);
  return format != 0 && SetPixelFormat(dc, format, &descriptor);
}

}  // namespace

bool MakeCurrentGLContext(HWND window, HDC& dc, HGLRC& rc) {
  // Every step is taken whatever the one before gave, as the main window
  // has always done; the result only tells whether all of them worked.
  dc = GetDC(window);
  const bool formatSet = SetupPixelFormat(dc);
  rc = wglCreateContext(dc);
  const bool current = wglMakeCurrent(dc, rc) != FALSE;
  return dc != nullptr && formatSet && rc != nullptr && current;
}

void ReleaseGLContext(HWND window, HDC dc, HGLRC rc) {
  if (rc != nullptr) {
    wglMakeCurrent(dc, nullptr);
    wglDeleteContext(rc);
  }
  if (dc != nullptr) ReleaseDC(window, dc);
}
