#include "shell/saver_form.h"

#include <cstdlib>

#include "common/random.h"
#include "render/scene.h"
#include "shell/display_power.h"
#include "shell/monitor_covers.h"
#include "shell/password.h"
#include "shell/screen_dpi.h"

TForm1 Form1;

namespace {

// Cursor position at the form's previous mouse event, in screen coordinates.
POINT LastCursorPos = {0, 0};
// The monitors as the windows last followed them.
uint64_t FollowedLayout = 0;

// Farther than this between two mouse events, at 96 dpi, is a deliberate
// move, not a jittering desk.
constexpr int MouseJumpAt96Dpi = 30;
int MouseJumpPixels = MouseJumpAt96Dpi;
HPOWERNOTIFY DisplayPowerNotice = nullptr;

// The cursor counts physical pixels, so on a scaled screen the same move of
// the hand covers more of them. Beyond 20 times the usual scale the reading
// is taken for nonsense.
int ScaledMouseJump(int dpi) {
  if (dpi <= 0 || dpi > 20 * 96) return MouseJumpAt96Dpi;
  return MouseJumpAt96Dpi * dpi / 96;
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
  MouseJumpPixels = ScaledMouseJump(PrimaryScreenDpi());
  GetCursorPos(&LastCursorPos);
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
  ShowCursor(FALSE);
}

void TForm1::FormShow() {
  FormScreen.window = Handle();
  StartSceneWindow(FormScreen, ClientWidth(), ClientHeight(), ClockSeed(), false);
  FollowedLayout = FollowMonitors(FormScreen, Covers, ClockSeed());
  DisplayPowerNotice = WatchDisplayPower(Handle());
}

void TForm1::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Nobody sees a display that is off: no frame is drawn, on any monitor,
  // until it is back. The scene goes on from where it stopped.
  const DisplayPower power = DecodeDisplayPower(message, wParam, lParam);
  if (power != DisplayPower::Unknown) Timer1.SetEnabled(power == DisplayPower::On);
  if (message == WM_DISPLAYCHANGE) FollowMonitorsSoon();
}

void TForm1::Timer1Timer() {
  DrawSceneWindow(FormScreen);
  for (MonitorCover& cover : Covers) DrawSceneWindow(cover.screen);
}

void TForm1::FollowMonitorsSoon() {
  LayoutTimer.SetEnabled(false);
  LayoutTimer.SetEnabled(true);
}

void TForm1::LayoutTimerTimer() {
  LayoutTimer.SetEnabled(false);
  FollowedLayout = FollowMonitors(FormScreen, Covers, ClockSeed());
  MouseJumpPixels = ScaledMouseJump(PrimaryScreenDpi());
  // The windows' moves and the pointer the system moved are no jump.
  GetCursorPos(&LastCursorPos);
}

void TForm1::FormKeyDown(WORD) {
  // While the password dialog is up it owns the keys, not the form.
  if (Active()) ExitOnInput();
}

void TForm1::FormMouseMove(int, int) {
  POINT now;
  GetCursorPos(&now);
  // A real move, however small, lights the display; a mouse event without
  // one (as when a window appears under the pointer) does not.
  if (now.x != LastCursorPos.x || now.y != LastCursorPos.y) Timer1.SetEnabled(true);
  if (!Active()) {
    LastCursorPos = now;
    return;
  }
  if (std::abs(LastCursorPos.x - now.x) > MouseJumpPixels ||
      std::abs(LastCursorPos.y - now.y) > MouseJumpPixels) {
    // The system moves the pointer off a monitor that changed, often before
    // the windows are told: not the user's hand.
    if (MonitorLayout() != FollowedLayout) {
      FollowMonitorsSoon();
    } else {
      ExitOnInput();
    }
  }
  GetCursorPos(&LastCursorPos);
}

void TForm1::ExitOnInput() {
  if (!VerifyPassword(Handle())) return;
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
