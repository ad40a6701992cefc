#include "offscreen/offscreen_gl.h"

#include <GL/osmesa.h>
#include <GL/glu.h>

namespace {

// GLU comes linked against the system's GL dispatcher. If that dispatcher,
// and not Mesa's offscreen library, answered GLU's calls, gluPerspective
// would silently leave the projection untouched and every picture would be
// wrong. A known GLU call tells the two apart.
bool GluReachesCurrentContext() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0.0, 2.0, 0.0, 2.0);  // x scale 2 / (right - left) = 1
  GLdouble matrix[16] = {};
  glGetDoublev(GL_PROJECTION_MATRIX, matrix);
  const bool reached = matrix[0] == 1.0 && matrix[12] == -1.0;
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  return reached;
}

}  // namespace

OffscreenGL::~OffscreenGL() {
  if (context_ != nullptr) OSMesaDestroyContext(context_);
}

bool OffscreenGL::Create(int width, int height) {
  if (context_ != nullptr) {
    error_ = "the offscreen context exists already";
    return false;
  }
  GLint maxWidth = 0, maxHeight = 0;
  OSMesaGetIntegerv(OSMESA_MAX_WIDTH, &maxWidth);
  OSMesaGetIntegerv(OSMESA_MAX_HEIGHT, &maxHeight);
  if (width < 1 || height < 1 || width > maxWidth || height > maxHeight) {
    error_ = "size " + std::to_string(width) + "x" + std::to_string(height) +
             " is outside 1x1.." + std::to_string(maxWidth) + "x" + std::to_string(maxHeight);
    return false;
  }
  // No depth, stencil or accumulation buffer, as the saver asks for none.
  context_ = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
  if (context_ == nullptr) {
    error_ = "Mesa could not create an offscreen context";
    return false;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  if (!MakeCurrent()) {
    error_ = "Mesa could not make the offscreen context current";
    return false;
  }
  if (glGetString(GL_VERSION) == nullptr || !GluReachesCurrentContext()) {
    error_ = "GL or GLU calls do not reach the offscreen context (link libOSMesa before GLU)";
    return false;
  }
  return true;
}

bool OffscreenGL::MakeCurrent() {
  return context_ != nullptr &&
         OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width_, height_);
}

Rgba OffscreenGL::PixelAt(int x, int y) const {
  const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}
