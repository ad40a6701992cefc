#include "shell/monitor_covers.h"

#include <cstdlib>
#include <utility>

#include "render/scene.h"

namespace {

const char CoverClassName[] = "RimeglassMonitorCover";
// Posted at creation: the first the message loop does, after the saver's
// own window has been shown and made the foreground window.
constexpr UINT ShowCoverMessage = WM_APP;

LRESULT CALLBACK CoverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case ShowCoverMessage:
      ShowWindow(window, SW_SHOWNOACTIVATE);
      return 0;
    case WM_MOUSEACTIVATE:
      // The saver's window must stay active: its handlers act only while it
      // is, and a click here must not leave keys going past the password gate.
      return MA_NOACTIVATE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The saver's own handlers, so one exit rule, one gate, one last
      // cursor position and one idea of whether the display is seen hold for
      // all its windows. The cover may be gone when this returns (the saver
      // closed), so nothing follows.
      SendMessageA(GetWindow(window, GW_OWNER), message, wParam, lParam);
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      // As on the saver's window: Alt+F4 must not close a cover on its own.
      return 0;
    case WM_CLOSE:
      // Asked to close, the whole saver closes, in its own orderly way.
      PostMessageA(GetWindow(window, GW_OWNER), WM_CLOSE, 0, 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Test-only: RIMEGLASS_TEST_FAIL_GL_MONITOR=k makes the k-th cover's
// context fail, as on a monitor whose adapter has no OpenGL, so that the
// tests can see such a monitor stay black while the others draw.
int ForcedFailure() {
  char value[12] = {};
  const DWORD length = GetEnvironmentVariableA("RIMEGLASS_TEST_FAIL_GL_MONITOR", value, sizeof value);
  return length > 0 && length < sizeof value ? std::atoi(value) : 0;
}

struct Enumeration {
  HWND saver;
  uint32_t seed;
  int forcedFailure;
  std::vector<SceneWindow> covers;
};

BOOL CALLBACK CoverMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  Enumeration& enumeration = *reinterpret_cast<Enumeration*>(data);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY) != 0) return TRUE;
  const RECT& area = info.rcMonitor;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  // No activation ever, and no entry in the taskbar or the task switcher.
  const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClassName, "",
                                      WS_POPUP, area.left, area.top, width, height,
                                      enumeration.saver, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return TRUE;
  SceneWindow& cover = enumeration.covers.emplace_back();
  cover.window = window;
  const int number = static_cast<int>(enumeration.covers.size());
  if (number != enumeration.forcedFailure) {
    StartSceneWindow(cover, width, height, enumeration.seed + static_cast<uint32_t>(number), false);
  }
  PostMessageA(window, ShowCoverMessage, 0, 0);
  return TRUE;
}

}  // namespace

std::vector<SceneWindow> CoverOtherMonitors(HWND saver, uint32_t seed) {
  WNDCLASSA windowClass = {};
  // Each cover keeps its device context for as long as it draws.
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = CoverWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = CoverClassName;
  RegisterClassA(&windowClass);
  Enumeration enumeration = {saver, seed, ForcedFailure(), {}};
  EnumDisplayMonitors(nullptr, nullptr, CoverMonitor, reinterpret_cast<LPARAM>(&enumeration));
  return std::move(enumeration.covers);
}
