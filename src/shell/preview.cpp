#include "shell/preview.h"

#include <atomic>
#include <cstdint>

#include "common/random.h"
#include "render/draw_frame.h"
#include "render/prepare_scene.h"
#include "render/scene.h"
#include "shell/password.h"
#include "shell/wgl_context.h"

namespace {

HWND PreviewWnd = nullptr;
HDC PreviewDC = nullptr;
HGLRC PreviewRC = nullptr;
// Set by the GUI thread when a key passed the password gate; the ticker
// then ends the preview.
std::atomic<bool> StopPreview{false};
std::unique_ptr<Scene> PreviewScene;

const char PreviewClassName[] = "MyVantorScreenSaverClass";

// With no host there is no size to follow. Half the primary screen each way
// is plainly a preview, not the saver, and never empty.
void PopupSize(int& width, int& height) {
  width = GetSystemMetrics(SM_CXSCREEN) / 2;
  height = GetSystemMetrics(SM_CYSCREEN) / 2;
  if (width < 1 || height < 1) {
    width = 640;
    height = 480;
  }
}

// Window handles are 32 bits wide whatever the width of a pointer.
bool IsDesktop(HWND window) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)) ==
         static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetDesktopWindow()));
}

HWND CreateSaverWindow(int width, int height, HWND parent);
LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI PreviewTicker(LPVOID parameter);
void PaintPreviewFrame();

}  // namespace

void RunPreview(HWND host) {
  int width = 0;
  int height = 0;
  if (host != nullptr) {
    // A handle that names no window has no size, and GL bound to "no window"
    // would draw over the whole screen: there is nothing to preview. Nor in
    // the desktop itself: a disabled child over the whole screen would take
    // no input and never be told to end.
    if (!IsWindow(host) || IsDesktop(host)) return;
    RECT bounds;
    GetWindowRect(host, &bounds);
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
  } else {
    PopupSize(width, height);
  }
  if (CreateSaverWindow(width, height, host) == nullptr) return;

  const HANDLE ticker = CreateThread(nullptr, 0, PreviewTicker, nullptr, 0, nullptr);
  if (ticker != nullptr) CloseHandle(ticker);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

namespace {

// Window class, window, scene, GL context. Returns 0 when no window could
// be made, and then sets up nothing else.
HWND CreateSaverWindow(int width, int height, HWND parent) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_PARENTDC;
  windowClass.lpfnWndProc = PreviewWndProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = PreviewClassName;
  RegisterClassA(&windowClass);

  HWND window = nullptr;
  if (parent != nullptr) {
    window = CreateWindowExA(0, PreviewClassName, "MySaver", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                             0, 0, width, height, parent, nullptr, instance, nullptr);
  } else {
    window = CreateWindowExA(0, PreviewClassName, "MySaver", WS_POPUP | WS_VISIBLE, 0, 0, width,
                             height, nullptr, nullptr, instance, nullptr);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
  }
  // Without a window, GetDC would hand over the whole screen.
  if (window == nullptr) return nullptr;

  PreviewScene = MakeScene();
  PrepareScene(*PreviewScene, width, height, true, ClockSeed());
  PreviewWnd = window;
  CreateGLContext(window, *PreviewScene, PreviewDC, PreviewRC);
  return window;
}

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      // Deliberately left invalid: the next paint follows as soon as the
      // queue is otherwise empty, so the preview animates without a timer.
      PaintPreviewFrame();
      return 0;
    case WM_KEYDOWN:
      StopPreview.store(VerifyPassword(nullptr), std::memory_order_relaxed);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The preview sits under the user's pointer in the settings page;
      // moving or clicking there must never end it.
      return 0;
    default:
      // WM_NCCREATE included: the default handling is what stores "MySaver"
      // as the window's title.
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

DWORD WINAPI PreviewTicker(LPVOID) {
  ShowWindow(PreviewWnd, SW_SHOW);
  UpdateWindow(PreviewWnd);
  do {
    InvalidateRect(PreviewWnd, nullptr, FALSE);
    Sleep(30);
  } while (!StopPreview.load(std::memory_order_relaxed));
  // Posted, not sent: the GUI thread answers it by ending its loop.
  PostMessageA(PreviewWnd, WM_DESTROY, 0, 0);
  return 0;
}

void PaintPreviewFrame() {
  // Hidden or minimised, with its host or on its own, nobody sees it: no
  // frame, and no paint again until the ticker asks for the next one.
  if (!IsWindowVisible(PreviewWnd) || IsIconic(GetAncestor(PreviewWnd, GA_ROOT))) {
    ValidateRect(PreviewWnd, nullptr);
    return;
  }
  DrawFrame(*PreviewScene);
  PresentFrame();
  Sleep(10);
}

}  // namespace
