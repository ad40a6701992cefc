#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "shell/form.h"
#include "shell/monitor_covers.h"
#include "shell/scene_window.h"

// The full-screen saver: a black borderless form over the primary screen,
// one frame per 10 ms tick (the same tick draws the other monitors' covers),
// ended by a key or a mouse jump once the password gate passes. While the
// display is off the tick stops, on every monitor at once. Its windows follow
// the monitors as they come, go and change mode.
class TForm1 : public TForm {
 public:
  TForm1();
  ~TForm1() override;

  TTimer Timer1;
  // Restarted by every display change, so that a burst of them ends in one
  // re-layout once the desktop has settled.
  TTimer LayoutTimer;
  // The form's own window, and the other monitors' covers; started in
  // FormShow, before the first tick can draw them.
  SceneWindow FormScreen;
  std::vector<MonitorCover> Covers;

  void Timer1Timer();
  void LayoutTimerTimer();

 protected:
  void FormMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void FormCreate() override;
  void FormShow() override;
  void FormKeyDown(WORD key) override;
  void FormMouseMove(int x, int y) override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose(TCloseAction& action) override;

 private:
  // The password gate, then the close; refused, the pointer moved to answer
  // the dialog made no jump.
  void ExitOnInput();
  // The windows to the monitors as they are now, the mouse rule to the
  // primary's scale; the pointer the system moved on the way is no jump.
  void FollowMonitors();

  POINT LastCursorPos = {0, 0};  // at the previous mouse event, on the screen
  uint64_t FollowedLayout = 0;   // the monitors as the windows last followed them
  // Farther than this between two mouse events is a deliberate move, not a
  // jittering desk; counted in the primary screen's pixels.
  static constexpr int MouseJumpAt96Dpi = 30;
  int MouseJumpPixels = MouseJumpAt96Dpi;
  HPOWERNOTIFY DisplayPowerNotice = nullptr;
};

extern TForm1 Form1;
