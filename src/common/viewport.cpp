#include "common/viewport.h"

double ViewportAspect(const ViewportSizeData& size) {
  const int32_t height = size.height > 0 ? size.height : 1;
  return static_cast<double>(size.width) / static_cast<double>(height);
}
