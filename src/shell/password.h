#pragma once
#include <windows.h>

// The screen-saver password gate: true when the saver may close. Asks the
// system's own dialog when the user has a screen-saver password in force;
// every failure on the way there lets the saver close.
bool VerifyPassword(HWND owner);

// Opens the system's change-password dialog for the screen saver, owned by
// `owner`; does nothing when the dialog is not available.
void ChangePassword(HWND owner);
