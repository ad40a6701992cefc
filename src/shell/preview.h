#pragma once
#include <windows.h>

#include <atomic>

// The preview: the scene drawn into a child of the host window given on the
// command line (or, with no host, into a small top-most popup). Its paint
// handler never validates the window, so the GUI thread paints again whenever
// its queue is empty, each paint followed by a 10 ms pause; the ticker thread
// invalidates it every 30 ms besides, and ends the preview when told to.

extern HWND PreviewWnd;
extern HDC PreviewDC;
extern HGLRC PreviewRC;
// Set by the GUI thread when a key passed the password gate; the ticker
// then ends the preview.
extern std::atomic<bool> StopPreview;

// The whole preview mode; returns when its message loop has ended.
void RunPreview(HWND host);
// Window class, window, scene, GL context. Returns 0 when no window could
// be made, and then sets up nothing else.
HWND CreateSaverWindow(int width, int height, HWND parent);
LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI PreviewTicker(LPVOID parameter);
void PaintPreviewFrame();
