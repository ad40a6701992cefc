#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct osmesa_context;

// One pixel of the colour buffer, 8 bits per channel.
struct Rgba {
  uint8_t red, green, blue, alpha;
};

// A software GL context (Mesa) drawing into memory, current on the calling
// thread from Create() on. Like the saver's pixel format it has an RGBA
// colour buffer and no depth buffer. One instance at a time is current; a new
// one takes over, MakeCurrent() takes it back (one context per screen), and
// destroying one releases its context.
class OffscreenGL {
 public:
  OffscreenGL() = default;
  ~OffscreenGL();
  OffscreenGL(const OffscreenGL&) = delete;
  OffscreenGL& operator=(const OffscreenGL&) = delete;

  // Creates the context with a width x height buffer and makes it current;
  // once per instance.
  // On failure returns false and says why in error().
  bool Create(int width, int height);
  // Makes this created context current again on the calling thread.
  bool MakeCurrent();

  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& error() const { return error_; }

  // The pixel at window coordinates (x, y), y counted upwards from the bottom
  // row as the GL counts it. Call after glFinish.
  Rgba PixelAt(int x, int y) const;
  // Rows bottom-up, RGBA, exactly as the GL left them.
  const std::vector<uint8_t>& pixels() const { return pixels_; }

 private:
  osmesa_context* context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
  std::string error_;
};
