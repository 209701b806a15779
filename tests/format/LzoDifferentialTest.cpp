// Our decoder against liblzo2 on damaged copies of streams liblzo2 writes
// (that whole ones decode is the lzo_differential corpus's check, and every
// round here compares the bytes decoded before the damage); our compressor's
// sizes against liblzo2's. Built only where liblzo2 is installed.

#include "format/Lzo1xCompressor.h"
#include "format/RFADecompression.h"

#include "LzoSamples.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>

#include <random>
#include <vector>

namespace larkspan {
namespace {

enum class Method { Lzo1x1, Lzo1x999 };

Bytes compress(const Bytes& content, Method method)
{
    static std::vector<unsigned char> work(LZO1X_999_MEM_COMPRESS);
    Bytes stream(content.size() + content.size() / 16 + 64 + 3);
    lzo_uint length = stream.size();
    const int result = method == Method::Lzo1x1
                           ? lzo1x_1_compress(content.data(), content.size(), stream.data(), &length, work.data())
                           : lzo1x_999_compress(content.data(), content.size(), stream.data(), &length, work.data());
    EXPECT_EQ(result, LZO_E_OK);
    stream.resize(length);
    return stream;
}

using test::LzoSample;

// Whether liblzo2's result `theirs` matches ours: the same numbers, but
// success is its 0, a far match's length extension is an ordinary input
// overrun, and its -8 (input left after the end marker) is our success when
// the output is full and our -4 when one or two bytes are left.
bool sameOutcome(LZOResult ours, int theirs, bool outputFull)
{
    switch (theirs) {
    case LZO_E_OK:
        return ours == LZOResult::Success;
    case LZO_E_INPUT_NOT_CONSUMED:
        return (ours == LZOResult::Success && outputFull) || ours == LZOResult::InputNotConsumed ||
               (ours == LZOResult::InputOverrun && !outputFull);
    case LZO_E_INPUT_OVERRUN:
        return ours == LZOResult::InputOverrun || ours == LZOResult::FarMatchInputOverrun;
    default:
        return static_cast<int>(ours) == theirs;
    }
}

// Damaged streams: the two decoders must agree on the outcome, on how much
// was decoded and on the bytes.
TEST(DifferentialTest, FailsWhereLiblzo2Fails)
{
    std::mt19937 random(7);
    std::size_t agreed = 0;
    for (const LzoSample& sample : test::lzoSamples()) {
        if (sample.content.size() < 300)
            continue;
        const Bytes original = compress(sample.content, Method::Lzo1x999);
        for (int round = 0; round < 150; ++round) {
            Bytes stream = original;
            if (round % 5 == 0) {
                stream.resize(3 + random() % (stream.size() - 2));
            } else {
                for (unsigned k = 1 + random() % 3; k > 0; --k)
                    stream[random() % stream.size()] = static_cast<std::uint8_t>(random());
            }
            const std::size_t declared = sample.content.size() - (round % 3 == 0 ? random() % 16 : 0);
            Bytes ours(declared + kDecoderSlack);
            Bytes theirs(declared);
            std::size_t produced = 0;
            const LZOResult result = dcom(stream, ours, declared, produced);
            lzo_uint theirProduced = declared;
            const int theirResult =
                lzo1x_decompress_safe(stream.data(), stream.size(), theirs.data(), &theirProduced, nullptr);
            ASSERT_TRUE(sameOutcome(result, theirResult, produced == declared))
                << sample.name << " round " << round << ": ours " << int(result) << ", liblzo2 " << theirResult;
            ASSERT_EQ(produced, theirProduced) << sample.name << " round " << round;
            ASSERT_TRUE(std::equal(theirs.begin(), theirs.begin() + produced, ours.begin()));
            ++agreed;
        }
    }
    EXPECT_GT(agreed, 1000u);
}

// Over all samples: fast within 3% of lzo1x_1, best no larger than lzo1x_999.
TEST(CompressorDifferentialTest, SizesAgainstLiblzo2)
{
    std::size_t fast = 0, best = 0, lzo1x1 = 0, lzo1x999 = 0;
    for (const LzoSample& sample : test::lzoSamples()) {
        fast += Lzo1xCompressor(CompressionLevel::Fast).compress(sample.content).size();
        best += Lzo1xCompressor(CompressionLevel::Best).compress(sample.content).size();
        lzo1x1 += compress(sample.content, Method::Lzo1x1).size();
        lzo1x999 += compress(sample.content, Method::Lzo1x999).size();
    }
    EXPECT_LE(fast, lzo1x1 * 1.03);
    EXPECT_LE(best, lzo1x999);
}

} // namespace
} // namespace larkspan
