#pragma once
#include <windows.h>

#include <atomic>

// The preview: the scene drawn into a child of the host window given on the
// command line (or, with no host, into a small top-most popup), repainted
// without pause by the GUI thread and kept awake by a ticker thread.

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
