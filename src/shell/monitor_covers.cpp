#include "shell/monitor_covers.h"

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
      // The saver's own handlers, so one exit rule, one gate and one last
      // cursor position hold for all its windows. The cover may be gone when
      // this returns (the saver closed), so nothing follows.
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

BOOL CALLBACK CoverMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM saver) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY) != 0) return TRUE;
  const RECT& area = info.rcMonitor;
  // No activation ever, and no entry in the taskbar or the task switcher.
  const HWND cover =
      CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClassName, "", WS_POPUP, area.left,
                      area.top, area.right - area.left, area.bottom - area.top,
                      reinterpret_cast<HWND>(saver), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (cover != nullptr) PostMessageA(cover, ShowCoverMessage, 0, 0);
  return TRUE;
}

}  // namespace

void CoverOtherMonitors(HWND saver) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CoverWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = CoverClassName;
  RegisterClassA(&windowClass);
  EnumDisplayMonitors(nullptr, nullptr, CoverMonitor, reinterpret_cast<LPARAM>(saver));
}
