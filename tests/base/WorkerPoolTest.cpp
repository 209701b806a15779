// The pool hands results over in order on the calling thread, stops when
// told, and brings a worker's exception home.

#include "base/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace larkspan {
namespace {

TEST(WorkerPool, TakesInOrderOnTheCallingThreadAndStopsWhenTold)
{
    for (const unsigned workers : {1u, 4u}) {
        WorkerPool pool(workers);
        const std::size_t count = 1000;
        std::vector<std::size_t> results(count), taken;
        std::atomic<std::size_t> worked{0};
        const auto work = [&](std::size_t piece, unsigned) { results[piece] = piece * piece, ++worked; };
        const std::thread::id caller = std::this_thread::get_id();
        EXPECT_TRUE(pool.run(count, work, [&](std::size_t piece) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_EQ(results[piece], piece * piece);
            taken.push_back(piece);
            return true;
        }));
        ASSERT_EQ(taken.size(), count);
        EXPECT_TRUE(std::is_sorted(taken.begin(), taken.end()));

        worked = 0;
        EXPECT_FALSE(pool.run(count, work, [&](std::size_t piece) { return piece < 9; }));
        EXPECT_LT(worked, count) << "pieces far ahead are never begun";

        const auto failing = [](std::size_t piece, unsigned) {
            if (piece == 500)
                throw std::runtime_error("piece 500");
        };
        EXPECT_THROW(pool.run(count, failing, [](std::size_t) { return true; }), std::runtime_error);
    }
}

} // namespace
} // namespace larkspan
