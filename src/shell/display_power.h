#pragma once
#include <windows.h>

// Whether anyone can see the saver, as its window's messages tell: Windows
// says when the display goes off, but not reliably when it is back, and it
// lights the display for any input, so keys, clicks and a changed display
// count as "on" too.
enum class DisplayPower { Unknown, Off, On };

// What one message of the saver's window says: the display-state
// notification (off, on, dimmed: a dimmed screen is still seen), the older
// SC_MONITORPOWER command (low power and off, or on), a display change, a
// key or a click. Unknown for every other message, and for a notification
// whose data is not the one number it should be. Mouse moves are left to
// the caller, who alone knows whether the pointer really moved.
DisplayPower DecodeDisplayPower(UINT message, WPARAM wParam, LPARAM lParam);

// Asks for the display-state notification on `window`, which gets one with
// the current state soon after. Undo with StopWatchingDisplayPower before
// the window goes.
HPOWERNOTIFY WatchDisplayPower(HWND window);
// Ends the watch, if any, and clears the handle.
void StopWatchingDisplayPower(HPOWERNOTIFY& notice);
