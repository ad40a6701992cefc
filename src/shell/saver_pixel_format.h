#pragma once
#include <cstdint>

// Byte-for-byte the Win32 PIXELFORMATDESCRIPTOR, written without <windows.h>
// so the request reads as plain data; wgl_context.cpp asserts that the
// layouts agree and copies it into the real descriptor.
struct PixelFormatFields {
  uint16_t nSize;
  uint16_t nVersion;
  uint32_t dwFlags;
  uint8_t iPixelType;
  uint8_t cColorBits;
  uint8_t cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift;
  uint8_t cAlphaBits, cAlphaShift;
  uint8_t cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
  uint8_t cDepthBits;
  uint8_t cStencilBits;
  uint8_t cAuxBuffers;
  uint8_t iLayerType;
  uint8_t bReserved;
  uint32_t dwLayerMask;
  uint32_t dwVisibleMask;
  uint32_t dwDamageMask;
};
static_assert(sizeof(PixelFormatFields) == 40, "must match PIXELFORMATDESCRIPTOR");

// Double-buffered RGBA window drawing with OpenGL, 32 colour bits, no depth.
constexpr PixelFormatFields SaverPixelFormat = {
    40, 1, 0x25, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
