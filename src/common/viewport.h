#pragma once
#include <cstdint>

// Client size of a scene's window in pixels, written at set-up.
struct ViewportSizeData {
  int32_t width;
  int32_t height;
};

// Width over height. A zero-height window has no aspect; it is treated as one
// pixel high so nothing divides by zero.
double ViewportAspect(const ViewportSizeData& size);
