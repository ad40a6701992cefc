#pragma once
#include <cstddef>

// Heap allocations made by this program's own code so far (the test binary,
// which links the core statically), counted by replacing the global
// allocation functions. Allocations that libraries such as the GL make for
// themselves are not counted: the caller's address tells them apart.
size_t HeapAllocationCount();
// False in sanitizer builds, whose runtime owns the allocation functions.
bool HeapAllocationsCounted();
