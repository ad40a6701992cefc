#pragma once
#include <windows.h>

// Full screen on a desk with several monitors: the saver's own window stays
// on the primary one, and every other monitor gets a plain black cover, so
// no monitor keeps showing the live desktop while the saver runs.

// One hidden cover per monitor other than the primary, as the system lists
// them now, each owned by `saver` so that it goes when the saver's window
// does. Each shows itself once the message loop runs, after `saver` is up.
// Keys and mouse moves over a cover go to `saver`'s own handlers.
void CoverOtherMonitors(HWND saver);
