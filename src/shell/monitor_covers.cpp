#include "shell/monitor_covers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "render/scene.h"

namespace {

const char CoverClassName[] = "RimeglassMonitorCover";
// Posted at creation, so that a cover shows itself only once the message
// loop runs: at the start, after the saver's own window has been shown and
// made the foreground window.
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

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFOEXA info = {};
  info.cbSize = sizeof info;
  auto& monitors = *reinterpret_cast<std::vector<MONITORINFOEXA>*>(list);
  if (GetMonitorInfoA(monitor, &info)) monitors.push_back(info);
  return TRUE;
}

std::vector<MONITORINFOEXA> ListMonitors() {
  std::vector<MONITORINFOEXA> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// FNV-1a over what tells one layout from another.
uint64_t Fingerprint(const std::vector<MONITORINFOEXA>& monitors) {
  uint64_t hash = 0xcbf29ce484222325;
  const auto add = [&hash](const void* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 0x100000001b3;
    }
  };
  for (const MONITORINFOEXA& monitor : monitors) {
    add(&monitor.rcMonitor, sizeof monitor.rcMonitor);
    add(&monitor.dwFlags, sizeof monitor.dwFlags);
    add(monitor.szDevice, std::strlen(monitor.szDevice));
  }
  return hash;
}

// Moves the window onto the area unless it is there, and lays its scene out
// for the area's size.
void PlaceOn(SceneWindow& screen, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  RECT now = {};
  GetWindowRect(screen.window, &now);
  if (!EqualRect(&now, &area)) {
    SetWindowPos(screen.window, nullptr, area.left, area.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ReshapeSceneWindow(screen, width, height);
}

void AddCover(HWND saver, std::vector<MonitorCover>& covers, const MONITORINFOEXA& monitor,
              uint32_t seed) {
  const RECT& area = monitor.rcMonitor;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  // No activation ever, and no entry in the taskbar or the task switcher.
  const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClassName, "",
                                      WS_POPUP, area.left, area.top, width, height, saver, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return;
  MonitorCover& cover = covers.emplace_back();
  lstrcpynA(cover.device, monitor.szDevice, sizeof cover.device);
  cover.screen.window = window;
  const int number = static_cast<int>(covers.size());
  if (number != ForcedFailure()) {
    StartSceneWindow(cover.screen, width, height, seed + static_cast<uint32_t>(number), false);
  }
  PostMessageA(window, ShowCoverMessage, 0, 0);
}

}  // namespace

uint64_t MatchMonitors(SceneWindow& saver, std::vector<MonitorCover>& covers, uint32_t seed) {
  WNDCLASSA windowClass = {};
  // Each cover keeps its device context for as long as it draws.
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = CoverWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = CoverClassName;
  // Registered the first time; later calls find it there.
  RegisterClassA(&windowClass);

  const std::vector<MONITORINFOEXA> monitors = ListMonitors();
  const auto isCoveredBy = [](const MONITORINFOEXA& monitor, const MonitorCover& cover) {
    return (monitor.dwFlags & MONITORINFOF_PRIMARY) == 0 &&
           std::strcmp(monitor.szDevice, cover.device) == 0;
  };
  for (auto cover = covers.begin(); cover != covers.end();) {
    if (std::any_of(monitors.begin(), monitors.end(),
                    [&](const MONITORINFOEXA& monitor) { return isCoveredBy(monitor, *cover); })) {
      ++cover;
      continue;
    }
    ReleaseSceneWindow(cover->screen);
    DestroyWindow(cover->screen.window);
    cover = covers.erase(cover);
  }
  for (const MONITORINFOEXA& monitor : monitors) {
    const auto cover = std::find_if(covers.begin(), covers.end(), [&](const MonitorCover& each) {
      return isCoveredBy(monitor, each);
    });
    if ((monitor.dwFlags & MONITORINFOF_PRIMARY) != 0) {
      PlaceOn(saver, monitor.rcMonitor);
    } else if (cover != covers.end()) {
      PlaceOn(cover->screen, monitor.rcMonitor);
    } else {
      AddCover(saver.window, covers, monitor, seed);
    }
  }
  return Fingerprint(monitors);
}

uint64_t MonitorLayout() { return Fingerprint(ListMonitors()); }
