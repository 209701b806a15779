// The stored form of a compressed entry: the packer's segment table and
// streams that read back. The packer's empty file and a stored length that
// would pass for raw bytes are checked where archives are written compressed.

#include "format/EntryCompression.h"
#include "base/ByteOrder.h"
#include "format/RFADecompression.h"

#include <gtest/gtest.h>

#include <random>

namespace larkspan {
namespace {

constexpr CompressionLevel kLevels[] = {CompressionLevel::Fast, CompressionLevel::Best};

struct TableRow {
    std::uint32_t storedSize, size, offset;
};

std::vector<TableRow> table(const Bytes& stored)
{
    std::vector<TableRow> rows(littleIntAtPosition(stored, 0));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {littleIntAtPosition(stored, 4 + 12 * i), littleIntAtPosition(stored, 8 + 12 * i),
                   littleIntAtPosition(stored, 12 + 12 * i)};
    return rows;
}

Bytes someContent(std::size_t n, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>('a' + random() % 6); // compresses, but not to nothing
    return bytes;
}

// Segments of 32 KiB of content in order and back to back, each stream
// decoding to its own slice; the whole reads back through the framing.
TEST(EntryCompressionTest, SegmentsAsThePackerCutsThem)
{
    for (const std::size_t n : {1, 32767, 32768, 32769, 65536, 100000}) {
        const Bytes content = someContent(n, static_cast<std::uint32_t>(n));
        for (const CompressionLevel level : kLevels) {
            const Bytes stored = compressEntry(content, level);
            const std::vector<TableRow> rows = table(stored);
            ASSERT_EQ(rows.size(), (n + kSegmentInputLength - 1) / kSegmentInputLength) << n;
            std::size_t streamAt = 4 + 12 * rows.size();
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const std::size_t from = i * kSegmentInputLength;
                EXPECT_EQ(rows[i].size, std::min(kSegmentInputLength, n - from)) << n << " segment " << i;
                EXPECT_EQ(rows[i].offset, streamAt - (4 + 12 * rows.size())) << n << " segment " << i;
                Bytes output(rows[i].size + kDecoderSlack);
                std::size_t produced = 0;
                EXPECT_EQ(dcom(ByteSpan(stored).subspan(streamAt, rows[i].storedSize), output, rows[i].size, produced),
                          LZOResult::Success);
                EXPECT_TRUE(std::equal(content.begin() + from, content.begin() + from + rows[i].size, output.begin()));
                streamAt += rows[i].storedSize;
            }
            EXPECT_EQ(streamAt, stored.size()) << n;
            const SharedBytes back = decompressedDataFromData(stored, static_cast<std::uint32_t>(n));
            ASSERT_TRUE(back);
            EXPECT_TRUE(*back == content) << n;
        }
    }
}

TEST(EntryCompressionTest, FurtherCutsShortenTheFirstSegment)
{
    const Bytes content(70000, 0);
    const auto sizes = [&](std::size_t cut) {
        std::vector<std::size_t> result;
        for (const ByteSpan input : segmentInputs(content, cut))
            result.push_back(input.size());
        return result;
    };
    EXPECT_EQ(sizes(0), (std::vector<std::size_t>{32768, 32768, 4464}));
    EXPECT_EQ(sizes(3), (std::vector<std::size_t>{32765, 32768, 4467}));
    EXPECT_TRUE(segmentInputs({}, 0).empty());
    EXPECT_EQ(segmentInputs(ByteSpan(content).first(40), 2).size(), 2u);
    EXPECT_THROW(segmentInputs(ByteSpan(content).first(40), 40), std::logic_error);
}

} // namespace
} // namespace larkspan
