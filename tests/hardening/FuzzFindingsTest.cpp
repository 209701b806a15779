// A fault the raw height-map fuzz target found, pinned with exact sides: the
// corpus replay (fuzz/corpus/raw_height_map/crash-*) only checks that the
// samples fit.

#include "imaging/RawHeightMap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace larkspan {
namespace {

// side² · sampleBytes ≤ length, without overflowing 64 bits.
bool fits(std::uint64_t side, std::uint64_t sampleBytes, std::uint64_t length)
{
    return side <= length / sampleBytes / side;
}

TEST(FuzzFindings, RawShapeOfTheLargestLengthsKeepsItsSide)
{
    // The side wrapped to 0 in 32 bits, and 2·side² wrapped in 64.
    struct Case {
        std::uint64_t length;
        std::uint32_t side;
        bool sixteenBit;
    };
    const Case cases[] = {
        {UINT64_MAX, UINT32_MAX, false},
        {UINT64_MAX - 1, UINT32_MAX, false},
        {std::uint64_t(UINT32_MAX) * UINT32_MAX, UINT32_MAX, false},
        {std::uint64_t(1) << 63, std::uint32_t(1) << 31, true},
    };
    for (const Case& c : cases) {
        const std::optional<RawHeightMapShape> shape = rawHeightMapShape(c.length);
        ASSERT_TRUE(shape) << c.length;
        EXPECT_EQ(shape->side, c.side) << c.length;
        EXPECT_EQ(shape->sixteenBit, c.sixteenBit) << c.length;
    }
    // Where the single-precision root decides, the samples still lie inside.
    for (const std::uint64_t length : {(std::uint64_t(1) << 63) + 1, (std::uint64_t(1) << 62) * 3, UINT64_MAX / 3}) {
        const std::optional<RawHeightMapShape> shape = rawHeightMapShape(length);
        ASSERT_TRUE(shape) << length;
        EXPECT_TRUE(fits(shape->side, shape->sixteenBit ? 2 : 1, length)) << length;
        EXPECT_GE(shape->side, std::uint32_t(1) << 30) << length;
    }
}

} // namespace
} // namespace larkspan
