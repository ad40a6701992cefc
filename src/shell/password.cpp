#include "shell/password.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using VerifyScreenSavePwdProc = BOOL(WINAPI*)(HWND owner);
using PwdChangePasswordProc = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD flags,
                                             LPVOID reserved);

// Windows' rule for libraries loaded by name: 32 and below are error codes.
bool Loaded(HMODULE library) { return reinterpret_cast<uintptr_t>(library) > 32; }

// "ScreenSaveUsePassword" in four bytes at most. Stored as a number, any
// non-zero value turns the password on; stored as text ("0" or "1") the
// text's number decides, so "0" means off rather than its non-zero bytes.
bool PasswordInForce(HKEY key) {
  char data[5] = {};
  DWORD type = 0;
  DWORD size = 4;
  if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type,
                       reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
    return false;
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) return std::strtol(data, nullptr, 10) != 0;
  uint32_t value = 0;
  std::memcpy(&value, data, sizeof value);
  return value != 0;
}

}  // namespace

bool VerifyPassword(HWND owner) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return true;
  }
  if (!PasswordInForce(key)) {
    RegCloseKey(key);
    return true;
  }
  // By name, through the usual search, unlike the dpi library: this is how
  // the system's screen-saver machinery finds its password provider, and
  // systems that replace the provider rely on being found that way.
  const HMODULE library = LoadLibraryA("PASSWORD.CPL");
  if (!Loaded(library)) {
    RegCloseKey(key);
    return true;
  }
  const auto verify = reinterpret_cast<VerifyScreenSavePwdProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
  bool result = true;
  // The dialog needs a cursor; hiding it again keeps the saver's count as it was.
  ShowCursor(TRUE);
  if (verify != nullptr) result = verify(owner) != 0;
  ShowCursor(FALSE);
  FreeLibrary(library);
  RegCloseKey(key);
  return result;
}

void ChangePassword(HWND owner) {
  // By name, for the same reason as PASSWORD.CPL.
  const HMODULE library = LoadLibraryA("MPR.DLL");
  if (!Loaded(library)) return;
  const auto change = reinterpret_cast<PwdChangePasswordProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
  if (change != nullptr) change("SCRSAVE", owner, 0, nullptr);
  FreeLibrary(library);
}
