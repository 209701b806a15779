#include "support/AllocationProbe.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> gLargest{0};
std::atomic<std::size_t> gCount{0};
// Bytes held, as the allocator counts them (its usable size, the same on
// the way in and out), and the most held since the last reset.
std::atomic<std::int64_t> gHeld{0};
std::atomic<std::int64_t> gMostHeld{0};

void raise(std::atomic<std::int64_t>& most, std::int64_t value)
{
    std::int64_t seen = most.load(std::memory_order_relaxed);
    while (value > seen && !most.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

} // namespace

void* operator new(std::size_t size)
{
    std::size_t seen = gLargest.load(std::memory_order_relaxed);
    while (size > seen && !gLargest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
    gCount.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(size > 0 ? size : 1);
    if (!p)
        throw std::bad_alloc();
    const auto held = static_cast<std::int64_t>(malloc_usable_size(p));
    raise(gMostHeld, gHeld.fetch_add(held, std::memory_order_relaxed) + held);
    return p;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    gHeld.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace larkspan::test {

AllocationFigures allocationsDuring(const std::function<void()>& work)
{
    gLargest = 0;
    gCount = 0;
    const std::int64_t before = gHeld.load();
    gMostHeld = before;
    work();
    return {gLargest.load(), static_cast<std::size_t>(std::max<std::int64_t>(gMostHeld.load() - before, 0)),
            gCount.load(), gHeld.load() - before};
}

} // namespace larkspan::test
