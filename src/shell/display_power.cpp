#include "shell/display_power.h"

#include <versionhelpers.h>

#include <cstdint>
#include <cstring>

namespace {

// The power-setting GUIDs, spelled out here so that nothing has to be
// linked for them. Windows 8 and later send the console's display state
// (off, on, dimmed); before, there is only the primary monitor's power (off,
// on), which later systems still send to those who ask for it.
constexpr GUID ConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID MonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

constexpr DWORD DisplayOff = 0;
constexpr DWORD DisplayOn = 1;
constexpr DWORD DisplayDimmed = 2;

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

DisplayPower DecodeSetting(LPARAM lParam) {
  // The notification's data is one DWORD; anything else is not what it says.
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
  if (setting == nullptr || setting->DataLength != sizeof(DWORD)) return DisplayPower::Unknown;
  if (!SameGuid(setting->PowerSetting, ConsoleDisplayState) &&
      !SameGuid(setting->PowerSetting, MonitorPowerOn)) {
    return DisplayPower::Unknown;
  }
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof state);
  if (state == DisplayOff) return DisplayPower::Off;
  if (state == DisplayOn || state == DisplayDimmed) return DisplayPower::On;
  return DisplayPower::Unknown;
}

DisplayPower DecodeMonitorPower(LPARAM lParam) {
  // -1 on, 1 low power, 2 off; read as 32 bits, since a 32-bit sender's -1
  // may arrive without its sign extended.
  const auto state = static_cast<int32_t>(lParam);
  if (state == 1 || state == 2) return DisplayPower::Off;
  if (state == -1) return DisplayPower::On;
  return DisplayPower::Unknown;
}

}  // namespace

DisplayPower DecodeDisplayPower(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_POWERBROADCAST:
      return wParam == PBT_POWERSETTINGCHANGE ? DecodeSetting(lParam) : DisplayPower::Unknown;
    case WM_SYSCOMMAND:
      // The low four bits of a system command are the system's own.
      return (wParam & 0xfff0) == SC_MONITORPOWER ? DecodeMonitorPower(lParam)
                                                  : DisplayPower::Unknown;
    case WM_DISPLAYCHANGE:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
      return DisplayPower::On;
    default:
      return DisplayPower::Unknown;
  }
}

HPOWERNOTIFY WatchDisplayPower(HWND window) {
  const GUID& setting = IsWindows8OrGreater() ? ConsoleDisplayState : MonitorPowerOn;
  return RegisterPowerSettingNotification(window, &setting, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StopWatchingDisplayPower(HPOWERNOTIFY& notice) {
  if (notice != nullptr) UnregisterPowerSettingNotification(notice);
  notice = nullptr;
}
