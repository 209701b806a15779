// Faults the fuzz targets found, each pinned by the input that showed it
// (the inputs themselves are also in fuzz/corpus: archive_reader/crash-*,
// raw_height_map/crash-*).

#include "model/RFAArchive.h"
#include "support/ArchiveBytes.h"
#include "imaging/RawHeightMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

TEST(FuzzFindings, ReadProgressStaysWithinTheFileWhenRecordsShareTheirBytes)
{
    // Three records over the same 100 bytes: 300 stored bytes in a file of 205.
    Bytes file;
    appendLittleInt(file, 108);
    appendLittleInt(file, 0);
    file.insert(file.end(), 100, 'x');
    appendLittleInt(file, 3);
    for (const char* name : {"a/1", "a/2", "a/3"})
        fixtures::appendRecord(file, {name, 100, 100, 8});
    ASSERT_EQ(file.size(), 205u);

    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    const auto archive = RFAArchive::initWithData(file, [&](std::uint64_t done, std::uint64_t total) {
                             reports.emplace_back(done, total);
                             return true;
                         }).value_or(nullptr);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->leafCount(), 3u);
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> expected = {{100, 205}, {200, 205}, {205, 205}};
    EXPECT_EQ(reports, expected);
}

} // namespace
} // namespace larkspan
