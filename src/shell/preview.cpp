#include "shell/preview.h"

#include <atomic>
#include <cstdint>

#include "common/random.h"
#include "render/scene.h"
#include "shell/password.h"
#include "shell/scene_window.h"

namespace {

// Its window is set before the ticker starts, which only reads it.
SceneWindow Preview;
// Set by the GUI thread when a key passed the password gate; the ticker
// then ends the preview.
std::atomic<bool> StopPreview{false};

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

void PaintPreviewFrame() {
  // Hidden or minimised, with its host or on its own, nobody sees it: no
  // frame, and no paint again until the ticker asks for the next one.
  if (!IsWindowVisible(Preview.window) || IsIconic(GetAncestor(Preview.window, GA_ROOT))) {
    ValidateRect(Preview.window, nullptr);
    return;
  }
  DrawSceneWindow(Preview);
  Sleep(10);
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

// Window class, window, GL context and scene. Returns 0 when no window could
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

  Preview.window = window;
  StartSceneWindow(Preview, width, height, ClockSeed(), true);
  return window;
}

DWORD WINAPI PreviewTicker(LPVOID) {
  ShowWindow(Preview.window, SW_SHOW);
  UpdateWindow(Preview.window);
  do {
    InvalidateRect(Preview.window, nullptr, FALSE);
    Sleep(30);
  } while (!StopPreview.load(std::memory_order_relaxed));
  // Posted, not sent: the GUI thread answers it by ending its loop.
  PostMessageA(Preview.window, WM_DESTROY, 0, 0);
  return 0;
}

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
