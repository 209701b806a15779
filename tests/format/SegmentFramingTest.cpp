#include "support/AllocationProbe.h"
#include "support/ArchiveBytes.h"
#include "support/TestData.h"
#include "LzoTestBytes.h"

#include "base/ByteOrder.h"
#include "format/RFADecompression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {
namespace {

using fixtures::bytesOf;
using fixtures::testData;
using test::hexBytes;
using test::operator+;

using fixtures::segmentedEntry;
using Row = fixtures::SegmentRow;


const Bytes kEnd = hexBytes("11 00 00");
const Bytes kAbcd = hexBytes("15 61 62 63 64 11 00 00");
const Bytes kTenDigits = hexBytes("1b") + bytesOf("0123456789") + hexBytes("11 00 00");
const Bytes kElevenDigits = hexBytes("1c") + bytesOf("0123456789a") + hexBytes("11 00 00");
const Bytes kPackerEmpty = hexBytes("11 11 00 00");

struct FramingCase {
    std::string name;
    Bytes stored;
    std::uint32_t size; // the entry's size field
    std::optional<Bytes> content;
};

std::vector<FramingCase> framingCases()
{
    return {
        {"NoSegments", segmentedEntry({}), 1000, Bytes{}},
        {"TooShortForACount", hexBytes("01 00"), 1000, Bytes{}},
        {"PackerEmptyFile", testData("lzo/empty.entry"), 0, Bytes{}},
        {"EmptySegmentIsNotDecoded", segmentedEntry({{kAbcd, 4}, {kPackerEmpty, 0}, {kAbcd, 4}}), 8, bytesOf("abcdabcd")},
        {"TotalNotComparedWithSize", segmentedEntry({{kAbcd, 4}, {kAbcd, 4}}), 1, bytesOf("abcdabcd")},
        {"SegmentOfTenTimesTheSize", segmentedEntry({{kTenDigits, 10}}), 1, bytesOf("0123456789")},
        {"SegmentAboveTenTimesTheSize", segmentedEntry({{kElevenDigits, 11}}), 1, std::nullopt},
        {"SegmentWithSizeFieldZero", segmentedEntry({{kAbcd, 4}}), 0, std::nullopt},
        {"StreamEndsBeforeDeclaredSize", segmentedEntry({{kAbcd, 5}}), 5, std::nullopt},
        {"StreamLongerThanDeclaredSize", segmentedEntry({{kAbcd, 3}}), 3, std::nullopt},
        {"StreamPastStoredBytes", segmentedEntry(1, {{9, 4, 0}}, kAbcd), 4, std::nullopt},
        {"OffsetPastStoredBytes", segmentedEntry(1, {{8, 4, 1}}, kAbcd), 4, std::nullopt},
        {"EmptySegmentPastStoredBytes", segmentedEntry(1, {{4, 0, 8}}, kAbcd), 4, std::nullopt},
        {"CountBeyondTable", segmentedEntry(2, {{8, 4, 0}}, kAbcd), 4, std::nullopt},
        {"HugeCount", segmentedEntry(0xFFFFFFFF, {{0, 0, 0}}, {}), 4, std::nullopt},
        {"FailingSegmentAfterGoodOnes", segmentedEntry({{kAbcd, 4}, {kPackerEmpty, 4}}), 8, std::nullopt},
        {"SegmentsSharingOneStream", segmentedEntry(2, {{8, 4, 0}, {8, 4, 0}}, kAbcd), 4, bytesOf("abcdabcd")},
        {"SegmentsOutOfOrderWithGaps",
         segmentedEntry(2, {{8, 4, std::uint32_t(kTenDigits.size() + 2)}, {std::uint32_t(kTenDigits.size()), 10, 0}},
                        kTenDigits + bytesOf("xx") + kAbcd),
         10, bytesOf("abcd0123456789")},
    };
}

void PrintTo(const FramingCase& c, std::ostream* os)
{
    *os << c.name;
}

class FramingTest : public testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, Content)
{
    const FramingCase& c = GetParam();
    const SharedBytes content = decompressedDataFromData(c.stored, c.size);
    ASSERT_EQ(content != nullptr, c.content.has_value());
    if (content) {
        EXPECT_EQ(*content, *c.content);
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, FramingTest, testing::ValuesIn(framingCases()),
                         [](const testing::TestParamInfo<FramingCase>& info) { return info.param.name; });

// 'a', then one middle match at distance 1 whose length extension has
// `zeros` zero bytes: about 255 bytes out per byte in, the most LZO1X yields.
std::pair<Bytes, std::uint32_t> maximalExpansion(std::size_t zeros)
{
    const Bytes stream = hexBytes("12 61 20") + Bytes(zeros, 0) + hexBytes("ff 00 00 11 00 00");
    return {stream, std::uint32_t(1 + 33 + 255 * zeros + 255)};
}

// The content is allocated once at its final size, even when it grows
// segment by segment.
TEST(FramingTest, AcceptsTheMostAStreamCanYield)
{
    const auto expanding = maximalExpansion(4000);
    const Bytes& stream = expanding.first;
    const std::uint32_t size = expanding.second;
    EXPECT_GT(size, 254 * stream.size());
    SharedBytes content;
    const std::size_t largest = test::largestAllocationDuring(
        [&] { content = decompressedDataFromData(segmentedEntry({{stream, size}, {stream, size}, {stream, size}}), size); });
    ASSERT_TRUE(content);
    EXPECT_EQ(*content, Bytes(3 * size, 'a'));
    EXPECT_LE(largest, 3 * size + kDecoderSlack);
}

TEST(FramingTest, RefusesASizeItsStreamCannotReachWithoutAllocatingIt)
{
    const Bytes stream = maximalExpansion(10).first;
    const Bytes lying = segmentedEntry({{stream, std::uint32_t(255 * stream.size() + 1)}});
    const std::size_t largest = test::largestAllocationDuring(
        [&] { EXPECT_FALSE(decompressedDataFromData(lying, 0xFFFFFFFF)); });
    EXPECT_LT(largest, 4096u);
    EXPECT_FALSE(decompressedDataFromData(segmentedEntry({{kEnd, 0xFFFFFFFF}}), 0xFFFFFFFF));
}

TEST(FramingTest, RefusesContentBeyond4GiBBeforeDecoding)
{
    const auto expanding = maximalExpansion(4000);
    const Bytes& stream = expanding.first;
    const std::uint32_t size = expanding.second;
    const std::uint32_t count = std::uint32_t(0x100000000ULL / size + 1);
    const Bytes bomb = segmentedEntry(count, std::vector<Row>(count, {std::uint32_t(stream.size()), size, 0}), stream);
    const std::size_t largest = test::largestAllocationDuring(
        [&] { EXPECT_FALSE(decompressedDataFromData(bomb, size)); });
    EXPECT_LT(largest, 1u << 20);
}

class FixtureTest : public testing::TestWithParam<std::string> {};

// Streams liblzo2 wrote (tests/data/lzo/generate.sh), entry by entry.
TEST_P(FixtureTest, DecodesToTheOriginal)
{
    const std::string name = GetParam();
    const std::string original = name.substr(0, name.find('-'));
    const Bytes expected = testData("lzo/" + original + ".bin");
    const SharedBytes content = decompressedDataFromData(testData("lzo/" + name + ".entry"),
                                                         std::uint32_t(expected.size()));
    ASSERT_TRUE(content);
    EXPECT_TRUE(*content == expected);
}

INSTANTIATE_TEST_SUITE_P(Liblzo2, FixtureTest,
                         testing::Values("text-1", "text-999", "text-999-shuffled", "runs-1", "runs-999",
                                         "random-1", "random-999", "sparse-1", "sparse-999", "code-1",
                                         "code-999", "far-1", "far-999"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace larkspan
