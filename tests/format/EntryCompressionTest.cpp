// The stored form of a compressed entry: the packer's segment table, streams
// that read back, the packer's empty file, and never a length that passes
// for raw bytes.

#include "format/EntryCompression.h"
#include "base/ByteOrder.h"
#include "format/RFADecompression.h"

#include "LzoTestBytes.h"

#include <gtest/gtest.h>

#include <random>

namespace larkspan {
namespace {

using test::hexBytes;

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

TEST(EntryCompressionTest, EmptyContentIsThePackersEmptyFile)
{
    for (const CompressionLevel level : kLevels) {
        const Bytes stored = compressEntry({}, level);
        EXPECT_EQ(stored, hexBytes("01000000 04000000 00000000 00000000 11110000"));
        const SharedBytes content = decompressedDataFromData(stored, 0);
        ASSERT_TRUE(content);
        EXPECT_TRUE(content->empty());
    }
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

// Random bytes followed by a growing run of zeros: each zero adds a byte of
// content and almost nothing stored, so at some length the packer's cut
// stores exactly as many bytes as the content has. We must cut otherwise.
TEST(EntryCompressionTest, StoredLengthNeverEqualsTheContentLength)
{
    for (const CompressionLevel level : kLevels) {
        Lzo1xCompressor compressor(level);
        Bytes content(300);
        std::mt19937 random(5);
        for (std::uint8_t& b : content)
            b = static_cast<std::uint8_t>(random());
        bool found = false;
        while (!found && content.size() < 600) {
            content.push_back(0);
            const std::vector<ByteSpan> inputs = segmentInputs(content, 0);
            const std::vector<Bytes> streams{compressor.compress(inputs[0])};
            found = !assembleEntry(content.size(), inputs, streams);
        }
        ASSERT_TRUE(found) << "level " << int(level);
        const Bytes stored = compressEntry(content, level);
        EXPECT_NE(stored.size(), content.size());
        EXPECT_EQ(table(stored).size(), 2u);
        const SharedBytes back = decompressedDataFromData(stored, static_cast<std::uint32_t>(content.size()));
        ASSERT_TRUE(back);
        EXPECT_TRUE(*back == content);
    }
}

} // namespace
} // namespace larkspan
