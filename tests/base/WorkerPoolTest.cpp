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
        std::vector<std::size_t> results(count);
        std::vector<std::size_t> taken;
        std::atomic<std::size_t> worked{0};
        const auto work = [&](std::size_t piece, unsigned worker) {
            EXPECT_LT(worker, pool.size());
            results[piece] = piece * piece;
            ++worked;
        };
        const std::thread::id caller = std::this_thread::get_id();
        EXPECT_TRUE(pool.run(count, work, [&](std::size_t piece) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_EQ(results[piece], piece * piece);
            taken.push_back(piece);
            return true;
        }));
        ASSERT_EQ(taken.size(), count);
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(taken[i], i);

        worked = 0;
        taken.clear();
        EXPECT_FALSE(pool.run(count, work, [&](std::size_t piece) {
            taken.push_back(piece);
            return piece < 9;
        }));
        EXPECT_EQ(taken.size(), 10u);
        EXPECT_LT(worked, count) << "pieces far ahead are never begun";

        EXPECT_THROW(pool.run(
                         count,
                         [](std::size_t piece, unsigned) {
                             if (piece == 500)
                                 throw std::runtime_error("piece 500");
                         },
                         [](std::size_t) { return true; }),
                     std::runtime_error);
        EXPECT_TRUE(pool.run(10, work, [](std::size_t) { return true; })) << "the pool serves again";
    }
}

} // namespace
} // namespace larkspan
