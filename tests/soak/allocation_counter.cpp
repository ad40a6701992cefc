#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> Allocations{0};
}

size_t HeapAllocationCount() { return Allocations.load(); }

#if defined(__SANITIZE_ADDRESS__)
bool HeapAllocationsCounted() { return false; }
#else
bool HeapAllocationsCounted() { return true; }

// The executable's code, as the linker marks it.
extern "C" char __executable_start;
extern "C" char etext;

// glibc's own entry points, so plain malloc from C code is counted as well.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);
extern "C" void __libc_free(void* pointer);

namespace {
void CountIfFromProgram(const void* caller) {
  const char* address = static_cast<const char*>(caller);
  if (address >= &__executable_start && address < &etext) ++Allocations;
}
}  // namespace

extern "C" void* malloc(size_t size) {
  CountIfFromProgram(__builtin_return_address(0));
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  CountIfFromProgram(__builtin_return_address(0));
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
  CountIfFromProgram(__builtin_return_address(0));
  return __libc_realloc(pointer, size);
}
extern "C" void free(void* pointer) { __libc_free(pointer); }

void* operator new(size_t size) {
  CountIfFromProgram(__builtin_return_address(0));
  void* pointer = __libc_malloc(size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}
void* operator new[](size_t size) {
  CountIfFromProgram(__builtin_return_address(0));
  void* pointer = __libc_malloc(size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}
void operator delete(void* pointer) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, size_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, size_t) noexcept { __libc_free(pointer); }
#endif
