#include "shell/form.h"

#include <cstdlib>
#include <utility>

TTimer::TTimer(TForm& owner, UINT interval, std::function<void()> onTimer)
    : owner_(owner),
      id_(static_cast<UINT>(owner.timerCount_ + 1)),
      interval_(interval),
      onTimer_(std::move(onTimer)) {
  // A form with more timers than it has room for is a build mistake; a
  // dropped timer would leave its handler silently never running.
  if (owner.timerCount_ >= TForm::MaxTimers) std::abort();
  owner.timers_[owner.timerCount_++] = this;
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  // Before the window exists, Create starts only the enabled timers.
  if (owner_.handle_ == nullptr) return;
  if (enabled) {
    SetTimer(owner_.handle_, id_, interval_, nullptr);
  } else {
    KillTimer(owner_.handle_, id_);
  }
}

void TTimer::Restart() {
  SetEnabled(false);
  SetEnabled(true);
}

TForm::TForm(const char* className, const char* caption)
    : className_(className), caption_(caption) {}

TForm::~TForm() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

void TForm::Create() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  // Black is the only form colour this program has.
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className_;
  RegisterClassA(&windowClass);

  // Borderless top-level window; the this pointer travels in the creation
  // data so messages sent during creation already reach the form.
  CreateWindowExA(0, className_, caption_, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
  // Without a window there is nothing to run: no timers, no set-up to undo.
  if (handle_ == nullptr) return;
  for (int i = 0; i < timerCount_; ++i) {
    if (timers_[i]->enabled_) SetTimer(handle_, i + 1, timers_[i]->interval_, nullptr);
  }
  FormCreate();
}

void TForm::Show() {
  FormShow();
  RECT bounds;
  GetWindowRect(handle_, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
  UpdateWindow(handle_);
}

void TForm::Close() {
  if (handle_ == nullptr) return;
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  FormClose(action);
  if (action == caNone) return;
  StopTimers();
  if (OnClosed) OnClosed();
  if (action == caFree) {
    // Gone at once, so input already queued cannot start a second exit.
    const HWND window = handle_;
    handle_ = nullptr;
    active_ = false;
    DestroyWindow(window);
  } else {
    ShowWindow(handle_, SW_HIDE);
  }
}

void TForm::SetClientSize(int width, int height) {
  RECT bounds = {0, 0, width, height};
  AdjustWindowRectEx(&bounds, static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_EXSTYLE)));
  SetWindowPos(handle_, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ClientWidth() const {
  RECT client = {};
  GetClientRect(handle_, &client);
  return client.right;
}

int TForm::ClientHeight() const {
  RECT client = {};
  GetClientRect(handle_, &client);
  return client.bottom;
}

void TForm::StopTimers() {
  for (int i = 0; i < timerCount_; ++i) KillTimer(handle_, i + 1);
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form == nullptr || form->handle_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  FormMessage(message, wParam, lParam);
  switch (message) {
    case WM_ACTIVATE:
      active_ = LOWORD(wParam) != WA_INACTIVE;
      break;
    case WM_TIMER:
      // A tick already queued when its timer was disabled is dropped.
      if (wParam >= 1 && wParam <= static_cast<WPARAM>(timerCount_)) {
        const TTimer& timer = *timers_[wParam - 1];
        if (timer.enabled_) timer.onTimer_();
      }
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      FormKeyDown(static_cast<WORD>(wParam));
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      // System keys are the form's own: Alt+F4 or the window menu must not
      // close it behind the back of FormKeyDown.
      return 0;
    case WM_MOUSEMOVE:
      FormMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}
