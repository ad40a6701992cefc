#pragma once
#include <string>

#include "x11/saver_window.h"

// The saver's one GLX context, on the visual of the window it draws in. It
// builds on the window's code, which calls nothing here.

// Makes a context on the window's own visual (never another: a window we
// were given keeps the visual its maker chose) and makes it current.
bool CreateSaverContext(SaverWindow& saver, std::string& error);

// Swaps the window's buffers; a single-buffered visual is flushed instead.
void PresentSaverFrame(const SaverWindow& saver);

// Unbinds and destroys the context, if one was made.
void ReleaseSaverContext(SaverWindow& saver);
