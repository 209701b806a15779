#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace larkspan::test {

// What `work` asks of the global operator new, which a test binary that
// links AllocationProbe.cpp replaces to watch every request.
struct AllocationFigures {
    std::size_t largest = 0; // the largest single request
    std::size_t peak = 0;    // the most bytes held at once beyond those held when `work` began
    std::size_t count = 0;   // requests made
    std::int64_t kept = 0;   // bytes still held when `work` ended, beyond those held before
};

AllocationFigures allocationsDuring(const std::function<void()>& work);

inline std::size_t largestAllocationDuring(const std::function<void()>& work)
{
    return allocationsDuring(work).largest;
}

} // namespace larkspan::test
