#include "LzoTestBytes.h"
#include "support/ArchiveBytes.h"

#include "format/RFADecompression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace larkspan {
namespace {

using fixtures::bytesOf;
using test::hexBytes;
using test::operator+;

struct DecoderCase {
    std::string name;
    Bytes input;
    std::size_t outputLength;
    LZOResult result;
    Bytes output; // what was decoded before the result
};

Bytes pseudoRandom(std::size_t n)
{
    Bytes bytes(n);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : bytes) {
        state = state * 1103515245 + 12345;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

// The first instruction of a stream copying `literals` (at least 19) as a
// long literal run: opcode 0, then the length extension.
Bytes openingLongRun(const Bytes& literals)
{
    const std::size_t extra = literals.size() - 18;
    Bytes stream(1 + (extra - 1) / 255, 0);
    stream.push_back(static_cast<std::uint8_t>(extra - 255 * ((extra - 1) / 255)));
    return stream + literals;
}

const Bytes kEnd = hexBytes("11 00 00");

std::vector<DecoderCase> decoderCases()
{
    const Bytes run32k = pseudoRandom(32768);
    const Bytes run32kMinus1(run32k.begin(), run32k.end() - 1);
    const Bytes nineteen = pseudoRandom(19);
    return {
        {"EndMarkerAlone", kEnd, 0, LZOResult::Success, {}},
        {"EndMarkerBeforeOutputIsFull", kEnd, 10, LZOResult::Success, {}},
        {"EmptyStream", {}, 4, LZOResult::InputOverrun, {}},
        {"FourLiterals", hexBytes("15 61 62 63 64 11 00 00"), 4, LZOResult::Success, bytesOf("abcd")},
        {"StrayByteWithRoomLeft", hexBytes("15 61 62 63 64 11 00 00 7a"), 5, LZOResult::InputOverrun, bytesOf("abcd")},
        {"StrayByteWithOutputFull", hexBytes("15 61 62 63 64 11 00 00 7a"), 4, LZOResult::Success, bytesOf("abcd")},
        {"TwoStrayBytes", hexBytes("15 61 62 63 64 11 00 00 7a 7a"), 5, LZOResult::InputOverrun, bytesOf("abcd")},
        {"ThreeStrayBytes", hexBytes("15 61 62 63 64 11 00 00 7a 7a 7a"), 5, LZOResult::InputNotConsumed, bytesOf("abcd")},
        {"ThreeStrayBytesWithOutputFull", hexBytes("15 61 62 63 64 11 00 00 7a 7a 7a"), 4, LZOResult::Success, bytesOf("abcd")},
        {"EndMarkerWithLengthAndLowBits", hexBytes("12 61 12 03 00"), 1, LZOResult::Success, bytesOf("a")},
        {"ShortMatchOverlapsItself", hexBytes("12 61 00 00 11 00 00"), 3, LZOResult::Success, bytesOf("aaa")},
        {"ShortMatchAtDistance2After3Literals", hexBytes("14 61 62 63 04 00 11 00 00"), 5, LZOResult::Success, bytesOf("abcbc")},
        {"FarShortMatchAtDistance2050After5Literals", hexBytes("16 61 62 63 64 65 04 00 11 00 00"), 10, LZOResult::LookBehindOverrun, bytesOf("abcde")},
        {"NearMatchWithThreeTrailingLiterals", hexBytes("14 61 62 63 43 00 78 79 7a 11 00 00"), 9, LZOResult::Success, bytesOf("abccccxyz")},
        {"MiddleMatchWithExtensionRepeatsPattern", hexBytes("14 61 62 63 20 05 08 00 11 00 00"), 41, LZOResult::Success, bytesOf("abcabcabcabcabcabcabcabcabcabcabcabcabcab")},
        {"LongLiteralRun", openingLongRun(nineteen) + kEnd, 19, LZOResult::Success, nineteen},
        {"FarMatchWithBit3At32768", openingLongRun(run32k) + hexBytes("19 00 00") + kEnd, 32771, LZOResult::Success, run32k + Bytes(run32k.begin(), run32k.begin() + 3)},
        {"FarMatchWithBit3BeforeOutputStart", openingLongRun(run32kMinus1) + hexBytes("19 00 00") + kEnd, 32770, LZOResult::LookBehindOverrun, run32kMinus1},
        {"NearMatchBeforeOutputStart", hexBytes("12 61 40 01 11 00 00"), 10, LZOResult::LookBehindOverrun, bytesOf("a")},
        {"MatchPastOutputEnd", hexBytes("12 61 00 00 11 00 00"), 2, LZOResult::OutputOverrun, bytesOf("a")},
        {"LookBehindCheckedBeforeOutputRoom", hexBytes("12 61 40 01 11 00 00"), 1, LZOResult::LookBehindOverrun, bytesOf("a")},
        {"TrailingLiteralPastOutputEnd", hexBytes("12 61 01 00 62 11 00 00"), 3, LZOResult::OutputOverrun, bytesOf("aaa")},
        {"TrailingLiteralWithoutHeldBackBytes", hexBytes("12 61 01 00 62 11 00"), 4, LZOResult::InputOverrun, bytesOf("aaa")},
        {"OpcodeAfterMatchNeedsThreeBytes", hexBytes("12 61 00 00 11 00"), 4, LZOResult::InputOverrun, bytesOf("aaa")},
        {"LiteralRunCutShort", hexBytes("05 61 62 63"), 8, LZOResult::InputOverrun, {}},
        {"LiteralRunChecksOutputBeforeInput", hexBytes("05 61"), 0, LZOResult::OutputOverrun, {}},
        {"OpeningLiteralsNeedHeldBackBytes", hexBytes("12 61"), 1, LZOResult::InputOverrun, {}},
        {"LiteralExtensionRunsOut", hexBytes("00 00"), 300, LZOResult::InputOverrun, {}},
        {"FarMatchExtensionRunsOut", hexBytes("12 61 10 00 00"), 300, LZOResult::FarMatchInputOverrun, bytesOf("a")},
        {"FarMatchExtensionAsFirstOpcode", hexBytes("10"), 300, LZOResult::FarMatchInputOverrun, {}},
        {"MiddleMatchExtensionRunsOut", hexBytes("12 61 20 00 00"), 300, LZOResult::InputOverrun, bytesOf("a")},
        {"FarMatchOperandMissing", hexBytes("11 00"), 0, LZOResult::InputOverrun, {}},
        {"MiddleMatchOperandMissingAfterExtension", hexBytes("12 61 20 00 05 00"), 300, LZOResult::InputOverrun, bytesOf("a")},
    };
}

void PrintTo(const DecoderCase& c, std::ostream* os)
{
    *os << c.name;
}

class DecoderTest : public testing::TestWithParam<DecoderCase> {};

// Each case is decoded into an output of exactly its declared length (guard
// bytes behind it must stay untouched) and into one with the slack that
// allows wide copies up to the end.
TEST_P(DecoderTest, ResultAndOutput)
{
    const DecoderCase& c = GetParam();
    for (const std::size_t slack : {std::size_t(0), kDecoderSlack}) {
        SCOPED_TRACE(slack);
        constexpr std::size_t kGuard = 64;
        Bytes buffer(c.outputLength + slack + kGuard, 0xEE);
        std::size_t produced = 12345;
        const LZOResult result = dcom(c.input, std::span(buffer).first(c.outputLength + slack), c.outputLength, produced);
        EXPECT_EQ(static_cast<int>(result), static_cast<int>(c.result));
        ASSERT_EQ(produced, c.output.size());
        EXPECT_TRUE(std::equal(c.output.begin(), c.output.end(), buffer.begin()));
        EXPECT_TRUE(std::all_of(buffer.end() - kGuard, buffer.end(), [](std::uint8_t b) { return b == 0xEE; }));
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, DecoderTest, testing::ValuesIn(decoderCases()),
                         [](const testing::TestParamInfo<DecoderCase>& info) { return info.param.name; });

TEST(DecoderTest, RefusesAnOutputShorterThanItsDeclaredLength)
{
    Bytes buffer(3);
    std::size_t produced = 0;
    EXPECT_THROW(dcom(kEnd, buffer, 4, produced), std::invalid_argument);
}

} // namespace
} // namespace larkspan
