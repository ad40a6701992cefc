#include "x11/glx_context.h"

#include <cstdio>

bool CreateSaverContext(SaverWindow& saver, std::string& error) {
  Display* display = saver.display;
  XWindowAttributes window;
  if (XGetWindowAttributes(display, saver.window, &window) == 0) {
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
  saver.doubleBuffered = doubleBuffer != 0;
  saver.context = glXCreateContext(display, visual, nullptr, True);
  XFree(visual);
  if (saver.context == nullptr || !glXMakeCurrent(display, saver.window, saver.context)) {
    error = "cannot make an OpenGL context for the window";
    return false;
  }
  return true;
}

void PresentSaverFrame(const SaverWindow& saver) {
  if (saver.doubleBuffered) {
    glXSwapBuffers(saver.display, saver.window);
  } else {
    glFlush();
  }
}

void ReleaseSaverContext(SaverWindow& saver) {
  if (saver.context == nullptr) return;
  glXMakeCurrent(saver.display, None, nullptr);
  glXDestroyContext(saver.display, saver.context);
  saver.context = nullptr;
}
