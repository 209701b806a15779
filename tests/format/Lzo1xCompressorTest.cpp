// Our compressor: streams small enough to work out by hand, and every
// instruction form in use. That both decoders give every input back, from a
// fresh compressor or a used one, is the lzo_round_trip corpus's check.

#include "format/Lzo1xCompressor.h"

#include "LzoSamples.h"
#include "LzoTestBytes.h"

#include <gtest/gtest.h>

#include <set>

namespace larkspan {
namespace {

using test::hexBytes;
using test::LzoSample;
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

enum class Form { Opening, Run, LongRun, Short, FarShort, Near, Middle, LongMiddle, Far, LongFar };

// The instruction forms of a well-formed stream.
std::set<Form> formsIn(const Bytes& s)
{
    std::set<Form> forms;
    std::size_t i = 0;
    unsigned state = 0; // literals just copied: 0, 1-3, or 4 for a run
    const auto extension = [&] {
        while (s[i] == 0)
            ++i;
        ++i;
    };
    if (s[0] > 17) {
        forms.insert(Form::Opening);
        state = std::min(s[0] - 17, 4);
        i = 1 + s[0] - 17;
    }
    for (;;) {
        const unsigned t = s[i++];
        if (t < 16 && state == 0) {
            forms.insert(t == 0 ? Form::LongRun : Form::Run);
            const std::size_t start = i;
            if (t == 0)
                extension();
            i += t == 0 ? 18 + 255 * (i - start - 1) + s[i - 1] : t + 3;
            state = 4;
            continue;
        }
        unsigned trailing = t & 3;
        if (t < 16 || t >= 64) {
            forms.insert(t >= 64 ? Form::Near : state == 4 ? Form::FarShort : Form::Short);
            ++i;
        } else {
            const bool extended = (t & (t >= 32 ? 31 : 7)) == 0;
            if (extended)
                extension();
            const unsigned w = s[i] | s[i + 1] << 8;
            i += 2;
            if (t < 32 && (w >> 2) == 0 && (t & 8) == 0)
                return forms;
            forms.insert(t >= 32 ? (extended ? Form::LongMiddle : Form::Middle) : (extended ? Form::LongFar : Form::Far));
            trailing = w & 3;
        }
        i += trailing;
        state = trailing;
    }
}

TEST(Lzo1xCompressorTest, BestUsesEveryForm)
{
    std::set<Form> forms;
    for (const LzoSample& sample : test::lzoSamples())
        if (!sample.content.empty())
            forms.merge(formsIn(Lzo1xCompressor(CompressionLevel::Best).compress(sample.content)));
    EXPECT_EQ(forms.size(), 10u);
}

} // namespace
} // namespace larkspan
