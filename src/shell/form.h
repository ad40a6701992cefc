#pragma once
#include <windows.h>

#include <functional>

// A small form framework over plain Win32: just what the saver's one form
// needs (a borderless top-level window, its events, timers, activation).
// Its names, and the saver's TForm1, Form1, Timer1 and Timer1Timer, follow
// the classic form designer's pattern on purpose: every handler is where a
// reader who knows that pattern expects it, under the name they expect.

enum TCloseAction { caNone, caHide, caFree };

class TForm;

// A periodic timer of a form, firing on the GUI thread through the form's
// message queue; it runs from the form's creation until the form closes,
// except while it is disabled. A form holds at most TForm::MaxTimers; one
// more aborts at start-up.
class TTimer {
 public:
  TTimer(TForm& owner, UINT interval, std::function<void()> onTimer);

  // Disabled, the timer is gone from the system, so an idle form costs
  // nothing; enabled again, it fires one interval later.
  void SetEnabled(bool enabled);
  // Enabled afresh: the next tick comes one whole interval from now.
  void Restart();

 private:
  friend class TForm;
  TForm& owner_;
  UINT id_;
  UINT interval_;
  std::function<void()> onTimer_;
  bool enabled_ = true;
};

class TForm {
 public:
  TForm(const char* className, const char* caption);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Makes the (still hidden) window, starts the timers, runs FormCreate.
  void Create();
  // Runs FormShow, then shows the window centred on the screen and activates it.
  void Show();
  // FormCloseQuery, then FormClose; a closed form is destroyed and takes no
  // more input, and OnClosed runs.
  void Close();
  // Set by the application on its main form, whose close ends it.
  std::function<void()> OnClosed;

  HWND Handle() const { return handle_; }
  bool Active() const { return active_; }
  void SetClientSize(int width, int height);
  int ClientWidth() const;
  int ClientHeight() const;

 protected:
  // Every message, before the form's own handling, which still follows.
  virtual void FormMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormKeyDown(WORD /*key*/) {}
  virtual void FormMouseMove(int /*x*/, int /*y*/) {}
  virtual void FormCloseQuery(bool& /*canClose*/) {}
  virtual void FormClose(TCloseAction& /*action*/) {}

 private:
  friend class TTimer;
  static constexpr int MaxTimers = 4;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void StopTimers();

  const char* className_;
  const char* caption_;
  HWND handle_ = nullptr;
  bool active_ = false;
  TTimer* timers_[MaxTimers] = {};
  int timerCount_ = 0;
};
