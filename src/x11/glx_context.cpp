#include "x11/glx_context.h"

#include <cstdio>

#include "x11/saver_window.h"

// Until the extension is queried, a base no 8-bit error code can reach.
int GLXErrorBase = 256;

namespace {

GLXContext SaverContext = nullptr;
bool DoubleBuffered = true;

}  // namespace

bool DisplayHasGLX(Display* display) {
  int eventBase = 0;
  return glXQueryExtension(display, &GLXErrorBase, &eventBase);
}

XVisualInfo* ChooseSaverVisual(Display* display) {
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1,
                      GLX_BLUE_SIZE, 1, None};
  return glXChooseVisual(display, DefaultScreen(display), attributes);
}

bool CreateSaverContext(std::string& error) {
  Display* display = SaverWindow.display;
  XWindowAttributes window;
  if (XGetWindowAttributes(display, SaverWindow.window, &window) == 0) {
    error = "the window vanished before drawing started";
    return false;
  }
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(window.visual);
  wanted.screen = XScreenNumberOfScreen(window.screen);
  int count = 0;
  XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
  int useGL = 0, rgba = 0, doubleBuffer = 0;
  if (visual != nullptr) {
    glXGetConfig(display, visual, GLX_USE_GL, &useGL);
    glXGetConfig(display, visual, GLX_RGBA, &rgba);
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
  }
  if (!useGL || !rgba) {
    if (visual != nullptr) XFree(visual);
    char text[96];
    std::snprintf(text, sizeof text, "the window's visual 0x%lx has no RGBA OpenGL",
                  static_cast<unsigned long>(wanted.visualid));
    error = text;
    return false;
  }
  DoubleBuffered = doubleBuffer != 0;
  SaverContext = glXCreateContext(display, visual, nullptr, True);
  XFree(visual);
  if (SaverContext == nullptr || !glXMakeCurrent(display, SaverWindow.window, SaverContext)) {
    error = "cannot make an OpenGL context for the window";
    return false;
  }
  return true;
}

void PresentSaverFrame() {
  if (DoubleBuffered) {
    glXSwapBuffers(SaverWindow.display, SaverWindow.window);
  } else {
    glFlush();
  }
}

void ReleaseSaverContext() {
  if (SaverContext == nullptr) return;
  glXMakeCurrent(SaverWindow.display, None, nullptr);
  glXDestroyContext(SaverWindow.display, SaverContext);
  SaverContext = nullptr;
}
