#pragma once
#include <windows.h>

class TForm;

// The process's application object: its title, its main form and the
// message loop that runs for as long as the main form lives.
class TApplication {
 public:
  void Initialize();
  // The title of the application's hidden window. That window is never
  // shown, so no task list shows it either; it names the process's windows
  // for tools that enumerate them. The form has its own caption.
  void SetTitle(const char* title);
  // Creates the form; the first form created becomes the main form, whose
  // close ends the application.
  void CreateForm(TForm& form);
  // Shows the main form and dispatches messages until it has closed;
  // returns at once when there is no main form or it has no window.
  void Run();
  void Terminate();

 private:
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
};

extern TApplication Application;
