#pragma once
#include <cstdint>

// Client size of the saver's window in pixels, written once at set-up.
struct ViewportSizeData {
  int32_t width;
  int32_t height;
};

extern ViewportSizeData ViewportSize;

// Width over height. A zero-height window has no aspect; it is treated as one
// pixel high so nothing divides by zero.
double ViewportAspect();
