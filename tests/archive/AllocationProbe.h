#pragma once

#include <cstddef>
#include <functional>

namespace larkspan::test {

// The largest single request to the global operator new while `work` runs
// (the test binary replaces operator new to watch them).
std::size_t largestAllocationDuring(const std::function<void()>& work);

} // namespace larkspan::test
