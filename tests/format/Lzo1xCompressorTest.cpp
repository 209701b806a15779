// Our compressor: streams small enough to work out by hand. That both
// decoders give every input back, from a fresh compressor or a used one, is
// the lzo_round_trip corpus's check; how small its streams are against
// liblzo2's, the differential test's and bench_compressor's.

#include "format/Lzo1xCompressor.h"

#include "LzoTestBytes.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using test::hexBytes;
using test::operator+;

constexpr CompressionLevel kLevels[] = {CompressionLevel::Fast, CompressionLevel::Best};

// Bytes in which no two consecutive bytes come twice: nothing to match.
Bytes unmatchable(std::size_t n)
{
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i < 256 ? i : 3 * i);
    return bytes;
}

TEST(Lzo1xCompressorTest, WritesKnownStreams)
{
    const Bytes end = hexBytes("11 00 00");
    const struct {
        const char* name;
        Bytes content;
        Bytes stream;
    } cases[] = {
        {"empty", {}, end},
        {"four letters", hexBytes("61 62 63 64"), hexBytes("15 61 62 63 64") + end},
        // One literal, then a match of 19 at distance 1.
        {"run of twenty", Bytes(20, 'a'), hexBytes("12 61 31 00 00") + end},
        // The first byte holds up to 238 literals; past that a long run with its extension.
        {"238 literals", unmatchable(238), hexBytes("ff") + unmatchable(238) + end},
        {"239 literals", unmatchable(239), hexBytes("00 dd") + unmatchable(239) + end},
        {"300 literals", unmatchable(300), hexBytes("00 00 1b") + unmatchable(300) + end},
    };
    for (const auto& c : cases)
        for (const CompressionLevel level : kLevels)
            EXPECT_EQ(Lzo1xCompressor(level).compress(c.content), c.stream) << c.name << ", level " << int(level);
}

} // namespace
} // namespace larkspan
