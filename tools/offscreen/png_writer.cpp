#include "offscreen/png_writer.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors through longjmp; the writer keeps everything that
// needs cleaning up outside the jump's reach.
bool WriteRows(std::FILE* file, int width, int height, const std::vector<uint8_t>& rgbaBottomUp,
               std::vector<uint8_t>& rgbRow) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int row = height - 1; row >= 0; --row) {  // PNG rows run top-down
    const uint8_t* source = &rgbaBottomUp[static_cast<size_t>(row) * width * 4];
    for (int x = 0; x < width; ++x) std::memcpy(&rgbRow[x * 3], &source[x * 4], 3);
    png_write_row(png, rgbRow.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePngFromGLRows(const std::string& path, int width, int height,
                        const std::vector<uint8_t>& rgbaBottomUp, std::string& error) {
  if (width < 1 || height < 1 ||
      rgbaBottomUp.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
    error = "image size does not match its pixels";
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<uint8_t> rgbRow(static_cast<size_t>(width) * 3);
  if (!WriteRows(file.get(), width, height, rgbaBottomUp, rgbRow) || std::fflush(file.get()) != 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
