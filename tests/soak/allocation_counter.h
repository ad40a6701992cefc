#pragma once
#include <cstddef>

// Heap allocations made by this process so far, counted by replacing the
// global allocation functions in the test binary.
size_t HeapAllocationCount();
// False in sanitizer builds, whose runtime owns the allocation functions.
bool HeapAllocationsCounted();
