#pragma once
#include <windows.h>

// The preview: the scene drawn into a child of the host window given on the
// command line (or, with no host, into a small top-most popup). Its paint
// handler never validates the window, so the GUI thread paints again whenever
// its queue is empty, each paint followed by a 10 ms pause; a ticker thread
// invalidates it every 30 ms besides, and ends the preview once a key has
// passed the password gate.

// The whole preview mode; returns when its message loop has ended.
void RunPreview(HWND host);
