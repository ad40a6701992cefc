#include "common/viewport.h"

ViewportSizeData ViewportSize = {0, 0};

double ViewportAspect() {
  const int32_t height = ViewportSize.height > 0 ? ViewportSize.height : 1;
  return static_cast<double>(ViewportSize.width) / static_cast<double>(height);
}
