#include "shell/wgl_context.h"

#include <cstddef>
#include <cstring>

#include "render/init_gl.h"
#include "shell/saver_pixel_format.h"

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == sizeof(PixelFormatFields));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, dwFlags) == offsetof(PixelFormatFields, dwFlags));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, cDepthBits) == offsetof(PixelFormatFields, cDepthBits));
static_assert(offsetof(PIXELFORMATDESCRIPTOR, dwDamageMask) ==
              offsetof(PixelFormatFields, dwDamageMask));

void SetupPixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR descriptor;
  std::memcpy(&descriptor, &SaverPixelFormat, sizeof descriptor);
  const int format = ChoosePixelFormat(dc, &descriptor);
  if (format != 0) SetPixelFormat(dc, format, &descriptor);
}

void MakeCurrentGLContext(HWND window, HDC& dc, HGLRC& rc) {
  dc = GetDC(window);
  SetupPixelFormat(dc);
  rc = wglCreateContext(dc);
  wglMakeCurrent(dc, rc);
}

void CreateGLContext(HWND window, const Scene& scene, HDC& dc, HGLRC& rc) {
  MakeCurrentGLContext(window, dc, rc);
  InitGL(scene);
}

void PresentFrame() { SwapBuffers(wglGetCurrentDC()); }

void ReleaseGLContext(HWND window, HDC dc, HGLRC rc) {
  if (rc != nullptr) {
    wglMakeCurrent(dc, nullptr);
    wglDeleteContext(rc);
  }
  if (dc != nullptr) ReleaseDC(window, dc);
}
