#include "shell/application.h"

#include "shell/form.h"

TApplication Application;

void TApplication::Initialize() {
  // A hidden window that carries the application's title.
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RimeglassApplication";
  RegisterClassA(&windowClass);
  handle_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, windowClass.hInstance, nullptr);
}

void TApplication::SetTitle(const char* title) { SetWindowTextA(handle_, title); }

void TApplication::CreateForm(TForm& form) {
  if (mainForm_ == nullptr) {
    mainForm_ = &form;
    form.OnClosed = [this] { Terminate(); };
  }
  form.Create();
}

void TApplication::Run() {
  if (mainForm_ == nullptr || mainForm_->Handle() == nullptr) return;
  mainForm_->Show();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }
