#pragma once
// Counts the heap allocations of the whole program it is linked into (the
// benchmarks, the memory tests), so that a run can show how many it makes and
// how many bytes it holds at most.

#include <cstddef>

size_t AllocationCount();

// Bytes allocated with operator new and not yet freed, as the allocator
// accounts them (its usable size, so rounding is included).
size_t LiveBytes();
// The most LiveBytes() reached since the last ResetPeakBytes().
size_t PeakBytes();
void ResetPeakBytes();
