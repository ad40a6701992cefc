#include "x11/saver_window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <cstdio>

namespace {

// The size a window of its own opens with, for trying the saver out.
constexpr int OwnWidth = 1280;
constexpr int OwnHeight = 720;

// GLXBadDrawable (GL/glxproto.h): a GLX request named a window that is gone.
constexpr int GLXBadDrawableError = 2;

// Xlib's error handler takes no argument of ours: what it needs is kept here.
struct XErrorWatch {
  SaverWindow* window = nullptr;  // the window it reports on
  // While the saver looks for its window, a bad id is an answer to report
  // plainly, not an X error to print.
  bool quiet = true;
  int setupError = 0;
};
XErrorWatch Watch;

int OnXError(Display* display, XErrorEvent* event) {
  // Once the window is gone, letting go of the context draws errors about it
  // and its GCs: said once is enough.
  SaverWindow* watched = Watch.window;
  if (watched == nullptr || watched->gone) return 0;
  const int code = event->error_code;
  const bool aboutWindow =
      event->resourceid == watched->window &&
      (code == BadWindow || code == BadDrawable ||
       code == watched->glxErrorBase + GLXBadDrawableError);
  if (aboutWindow) watched->gone = true;
  if (Watch.quiet) {
    Watch.setupError = code;
    return 0;
  }
  if (aboutWindow) {
    // Its daemon or the settings tool destroyed the window: the ordinary end
    // of a saver, nothing to report. End here, inside whatever request found
    // out. When that is the GL driver asking the window's size at the start
    // of a frame, going back into it had it clear a buffer of a garbage size
    // for seconds while the locker waited. The server frees the context and
    // window with the connection.
    _exit(0);
  }
  char text[80];
  XGetErrorText(display, event->error_code, text, sizeof text);
  std::fprintf(stderr, "rimeglass: X error %s (request %d.%d, resource 0x%lx)\n", text,
               event->request_code, event->minor_code, event->resourceid);
  return 0;
}

// Xlib ends the process when this returns, so end it here, at once: with the
// connection gone there is no context left to release and nothing to draw on.
int OnXIOError(Display*) {
  std::fputs("rimeglass: lost the connection to the X display\n", stderr);
  _exit(0);
}

bool MakeOwnWindow(SaverWindow& saver, std::string& error) {
  Display* display = saver.display;
  // Double-buffered RGBA, like the Windows pixel format: colour only, no
  // depth buffer.
  int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1,
                  GLX_BLUE_SIZE, 1, None};
  XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), wanted);
  if (visual == nullptr) {
    error = "the display offers no double-buffered RGBA OpenGL visual";
    return false;
  }
  const Window root = RootWindow(display, visual->screen);
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  attributes.background_pixel = BlackPixel(display, visual->screen);
  attributes.border_pixel = 0;
  attributes.event_mask = StructureNotifyMask | VisibilityChangeMask | ExposureMask | KeyPressMask;
  saver.window =
      XCreateWindow(display, root, 0, 0, OwnWidth, OwnHeight, 0, visual->depth, InputOutput,
                    visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                    &attributes);
  XFree(visual);
  saver.owned = true;
  XStoreName(display, saver.window, "Rimeglass");
  XClassHint hint{const_cast<char*>("rimeglass"), const_cast<char*>("Rimeglass")};
  XSetClassHint(display, saver.window, &hint);
  saver.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, saver.window, &saver.deleteWindow, 1);
  XMapWindow(display, saver.window);
  return true;
}

}  // namespace

bool OpenSaverWindow(const SaverOptions& options, SaverWindow& saver, std::string& error) {
  saver = {};
  Watch = {&saver};
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnXIOError);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    const char* name = XDisplayName(nullptr);
    error = name[0] != '\0' ? std::string("cannot open the X display '") + name + "'"
                             : std::string("no X display: DISPLAY is not set");
    return false;
  }
  saver.display = display;
  int glxEventBase = 0;
  if (!glXQueryExtension(display, &saver.glxErrorBase, &glxEventBase)) {
    error = "the X display has no GLX (OpenGL) extension";
    return false;
  }

  if (options.source == WindowSource::Own) {
    if (!MakeOwnWindow(saver, error)) return false;
  } else {
    saver.window = options.source == WindowSource::Root ? DefaultRootWindow(display)
                                                              : options.windowId;
    // Only structure, visibility and exposure: a daemon that grabs the
    // keyboard and mouse makes any selection of input events fail with
    // BadAccess.
    XSelectInput(display, saver.window, StructureNotifyMask | VisibilityChangeMask | ExposureMask);
  }

  XWindowAttributes attributes;
  const Status found = XGetWindowAttributes(display, saver.window, &attributes);
  XSync(display, False);
  if (found == 0 || Watch.setupError != 0) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", saver.window);
    error = std::string("no window ") + text + " on the display";
    return false;
  }
  saver.width = attributes.width;
  saver.height = attributes.height;
  // A window that is not viewable yet says so with a VisibilityNotify once it
  // is; one that starts covered cannot be told apart, and is drawn on until
  // its visibility next changes.
  saver.hidden = attributes.map_state != IsViewable;
  Watch.quiet = false;
  return true;
}

WindowEvents HandleSaverWindowEvents(SaverWindow& saver) {
  Display* display = saver.display;
  WindowEvents result = WindowEvents::Unchanged;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case ConfigureNotify:
        if (event.xconfigure.window == saver.window &&
            (event.xconfigure.width != saver.width ||
             event.xconfigure.height != saver.height)) {
          saver.width = event.xconfigure.width;
          saver.height = event.xconfigure.height;
          result = WindowEvents::Resized;
        }
        break;
      // Unmapping sends no VisibilityNotify; showing again always does.
      case UnmapNotify:
        if (event.xunmap.window == saver.window) saver.hidden = true;
        break;
      case VisibilityNotify:
        if (event.xvisibility.window == saver.window) {
          saver.hidden = event.xvisibility.state == VisibilityFullyObscured;
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == saver.window) saver.gone = true;
        break;
      case ClientMessage:
        if (saver.owned &&
            static_cast<Atom>(event.xclient.data.l[0]) == saver.deleteWindow) {
          return WindowEvents::Closed;
        }
        break;
      case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        if (saver.owned && (key == XK_Escape || key == XK_q)) return WindowEvents::Closed;
        break;
      }
      default:
        break;
    }
  }
  return saver.gone ? WindowEvents::Closed : result;
}

void CloseSaverWindow(SaverWindow& saver) {
  if (saver.display != nullptr) {
    if (saver.owned && !saver.gone) XDestroyWindow(saver.display, saver.window);
    XCloseDisplay(saver.display);
    saver.display = nullptr;
  }
  Watch = {};
}
