#include "wayland/black_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

wl_buffer* MakeBlackBuffer(wl_shm* shm, int32_t width, int32_t height) {
  const int64_t stride = int64_t{width} * 4;
  const int64_t size = stride * height;
  if (shm == nullptr || width <= 0 || height <= 0 || size > std::numeric_limits<int32_t>::max()) {
    return nullptr;
  }
  const int fd = memfd_create("rimeglass-black", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  wl_buffer* buffer = nullptr;
  // A new file reads as zeros, which in XRGB8888 is black: nothing to write.
  if (ftruncate(fd, size) == 0) {
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(size));
    buffer = wl_shm_pool_create_buffer(pool, 0, width, height, static_cast<int32_t>(stride),
                                       WL_SHM_FORMAT_XRGB8888);
    // The buffer keeps what it needs of the pool; the compositor has the file.
    wl_shm_pool_destroy(pool);
  }
  close(fd);
  return buffer;
}
