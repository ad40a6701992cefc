#include "shell/screen_dpi.h"

#include <windows.h>

#include <cstdint>

namespace {

// shcore's GetDpiForMonitor, which older systems lack: loaded at run time.
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* dpiX,
                                              UINT* dpiY);
constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

int MonitorDpi(HMONITOR monitor) {
  // From the system folder only: never a namesake lying next to the saver.
  // Nothing but Windows itself provides it, unlike the password library,
  // which is looked up by name on purpose.
  const HMODULE library = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (reinterpret_cast<uintptr_t>(library) <= 32) return 0;
  const auto getDpi = reinterpret_cast<GetDpiForMonitorProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "GetDpiForMonitor")));
  UINT dpiX = 0;
  UINT dpiY = 0;
  const bool read = getDpi != nullptr && SUCCEEDED(getDpi(monitor, EffectiveDpi, &dpiX, &dpiY));
  FreeLibrary(library);
  return read ? static_cast<int>(dpiY) : 0;
}

}  // namespace

int ScaledToPrimaryScreen(int pixels) {
  // The primary monitor's current scale; where that cannot be asked, the
  // system's, which is the primary monitor's as the user signed in.
  const POINT origin = {0, 0};
  int dpi = MonitorDpi(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
  if (dpi <= 0) {
    const HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
      dpi = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
    }
  }
  return dpi > 0 && dpi <= 20 * 96 ? pixels * dpi / 96 : pixels;
}
