#pragma once
// Counts the heap allocations of the whole benchmark program, so that a
// benchmark can show how many a calculation run makes.

#include <cstddef>

size_t AllocationCount();
