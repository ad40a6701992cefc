#include "shell/saver_form.h"

#include <cstdlib>
#include <utility>

#include "common/random.h"
#include "render/scene.h"
#include "shell/display_power.h"
#include "shell/password.h"
#include "shell/screen_dpi.h"

TForm1 Form1;

namespace {

// When a monitor goes, the system moves the pointer off it, and under X that
// can come before the monitors are reported changed, or after the windows
// have followed: a hand cannot start from where no monitor is, nor land on
// an edge pixel of another monitor in a straight line, as the system pulls it.
bool MovedBySystem(POINT last, POINT now) {
  const HMONITOR from = MonitorFromPoint(last, MONITOR_DEFAULTTONULL);
  if (!from) return true;
  const HMONITOR to = MonitorFromPoint(now, MONITOR_DEFAULTTONULL);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (from == to || !to || !GetMonitorInfoA(to, &info)) return false;
  const RECT& edge = info.rcMonitor;
  return (now.y == last.y && (now.x == edge.left || now.x == edge.right - 1)) ||
         (now.x == last.x && (now.y == edge.top || now.y == edge.bottom - 1));
}

}  // namespace

TForm1::TForm1()
    : TForm("TForm1", "Rimeglass"),
      Timer1(*this, 10, [this] { Timer1Timer(); }),
      LayoutTimer(*this, 200, [this] { LayoutTimerTimer(); }) {
  LayoutTimer.SetEnabled(false);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  SetClientSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
  ShowCursor(FALSE);
}

void TForm1::FormShow() {
  FormScreen.window = Handle();
  StartSceneWindow(FormScreen, ClientWidth(), ClientHeight(), ClockSeed(), false);
  FollowMonitors();
  DisplayPowerNotice = WatchDisplayPower(Handle());
}

void TForm1::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Nobody sees a display that is off: no frame is drawn, on any monitor,
  // until it is back. The scene goes on from where it stopped.
  const DisplayPower power = DecodeDisplayPower(message, wParam, lParam);
  if (power != DisplayPower::Unknown) Timer1.SetEnabled(power == DisplayPower::On);
  if (message == WM_DISPLAYCHANGE) LayoutTimer.Restart();
}

void TForm1::Timer1Timer() {
  DrawSceneWindow(FormScreen);
  for (MonitorCover& cover : Covers) DrawSceneWindow(cover.screen);
}

void TForm1::LayoutTimerTimer() {
  LayoutTimer.SetEnabled(false);
  FollowMonitors();
}

void TForm1::FollowMonitors() {
  FollowedLayout = MatchMonitors(FormScreen, Covers, ClockSeed());
  // The cursor counts physical pixels, so on a scaled screen the same move
  // of the hand covers more of them.
  MouseJumpPixels = ScaledToPrimaryScreen(MouseJumpAt96Dpi);
  GetCursorPos(&LastCursorPos);
}

void TForm1::FormKeyDown(WORD) {
  // While the password dialog is up it owns the keys, not the form.
  if (Active()) ExitOnInput();
}

void TForm1::FormMouseMove(int, int) {
  POINT now;
  GetCursorPos(&now);
  const POINT last = std::exchange(LastCursorPos, now);
  // A real move, however small, lights the display; a mouse event without
  // one (as when a window appears under the pointer) does not.
  if (now.x != last.x || now.y != last.y) Timer1.SetEnabled(true);
  if (!Active()) return;
  if (std::abs(last.x - now.x) > MouseJumpPixels || std::abs(last.y - now.y) > MouseJumpPixels) {
    // The system moves the pointer off a monitor that changed: not the
    // user's hand.
    if (MonitorLayout() != FollowedLayout || MovedBySystem(last, now)) {
      LayoutTimer.Restart();
    } else {
      ExitOnInput();
    }
  }
}

void TForm1::ExitOnInput() {
  if (!VerifyPassword(Handle())) {
    GetCursorPos(&LastCursorPos);
    return;
  }
  ShowCursor(TRUE);
  Close();
}

void TForm1::FormCloseQuery(bool&) {
  StopWatchingDisplayPower(DisplayPowerNotice);
  for (MonitorCover& cover : Covers) ReleaseSceneWindow(cover.screen);
  ReleaseSceneWindow(FormScreen);
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
}

void TForm1::FormClose(TCloseAction& action) { action = caFree; }
