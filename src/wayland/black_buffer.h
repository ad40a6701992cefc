#pragma once
#include <wayland-client.h>

#include <cstdint>

// A shared-memory buffer of the given size, every pixel black: the cover of
// an output that cannot have OpenGL. Null when the memory cannot be had.
wl_buffer* MakeBlackBuffer(wl_shm* shm, int32_t width, int32_t height);
