#include "base/CountedNoun.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(CountedNounTest, OnlyOneTakesTheSingular)
{
    const struct {
        std::uint64_t count;
        const char* text;
    } cases[] = {
        {0, "0 entries"}, {1, "1 entry"}, {2, "2 entries"}, {11, "11 entries"}, {21, "21 entries"},
        {4294967297u, "4294967297 entries"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countedNoun(c.count, "entry", "entries"), c.text);
}

} // namespace
} // namespace larkspan
