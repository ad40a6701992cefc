// Rimeglass.scr: the entry, which picks the run mode from the command line
// Windows uses for screen savers (/s, /p <window>, /a <window>, /c).
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "shell/application.h"
#include "shell/password.h"
#include "shell/preview.h"
#include "shell/saver_form.h"

namespace {

HWND WindowArgument(const char* commandLine) {
  const int32_t handle = ParseWindowHandle(CommandLineArgument(commandLine, 2));
  return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A library that cannot be loaded must not bring up a system message box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  const char* commandLine = GetCommandLineA();
  const RunMode mode = SelectRunMode(CommandLineArgument(commandLine, 1));

  Application.Initialize();
  Application.SetTitle("Rimeglass 3d screensaver");
  switch (mode) {
    case ModeFullScreen:
      Application.CreateForm(Form1);
      break;
    case ModePreview:
      RunPreview(WindowArgument(commandLine));
      break;
    case ModeChangePassword:
      ChangePassword(WindowArgument(commandLine));
      break;
    case ModeConfigure:
      // Nothing to configure.
      break;
  }
  Application.Run();
  return 0;
}
