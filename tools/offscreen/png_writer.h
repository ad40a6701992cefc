#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes an 8-bit RGB PNG from RGBA rows stored bottom-up, the order in which
// the GL reads pixels back; the alpha channel is dropped, as a screen shows
// none. Returns false and says why in `error` when the file cannot be written.
bool WritePngFromGLRows(const std::string& path, int width, int height,
                        const std::vector<uint8_t>& rgbaBottomUp, std::string& error);
