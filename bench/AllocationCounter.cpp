#include "AllocationCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_allocations{0};
std::atomic<size_t> g_liveBytes{0};
std::atomic<size_t> g_peakBytes{0};

void Release(void* p) noexcept {
    if (p == nullptr) return;
    g_liveBytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}
}  // namespace

size_t AllocationCount() {
    return g_allocations.load(std::memory_order_relaxed);
}

size_t LiveBytes() {
    return g_liveBytes.load(std::memory_order_relaxed);
}

size_t PeakBytes() {
    return g_peakBytes.load(std::memory_order_relaxed);
}

void ResetPeakBytes() {
    g_peakBytes.store(LiveBytes(), std::memory_order_relaxed);
}

void* operator new(size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    const size_t live = g_liveBytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) +
                        malloc_usable_size(p);
    size_t peak = g_peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
