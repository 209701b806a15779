// Our decoder against liblzo2 on streams liblzo2 writes, and on damaged
// copies of them. Built only where liblzo2 is installed.

#include "format/RFADecompression.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>

#include <random>
#include <string>
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

struct Sample {
    std::string name;
    Bytes content;
};

std::vector<Sample> samples()
{
    std::mt19937 random(42);
    const auto randomBytes = [&](std::size_t n) {
        Bytes bytes(n);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        return bytes;
    };
    const auto words = [&](std::size_t n) {
        static const char* const kWords[] = {"ObjectTemplate", ".create", " Bundle", " tank_", "\r\n", "rem ",
                                             "setPosition ", "0/", "1.5", "Sound", "include "};
        std::string text;
        while (text.size() < n)
            text += kWords[random() % std::size(kWords)];
        text.resize(n);
        return Bytes(text.begin(), text.end());
    };
    const auto runs = [&](std::size_t n) {
        Bytes bytes;
        while (bytes.size() < n) {
            const Bytes pattern = randomBytes(1 + random() % 12);
            for (std::size_t k = random() % 200; k > 0; --k)
                bytes.insert(bytes.end(), pattern.begin(), pattern.end());
        }
        bytes.resize(n);
        return bytes;
    };
    const auto concat = [](std::vector<Bytes> parts) {
        Bytes all;
        for (const Bytes& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    std::vector<Sample> list;
    for (const std::size_t n : {0, 1, 2, 3, 4, 5, 17, 18, 19, 20, 300})
        list.push_back({"random" + std::to_string(n), randomBytes(n)});
    for (const std::size_t n : {4, 64, 1000, 32768})
        list.push_back({"text" + std::to_string(n), words(n)});
    list.push_back({"zeros", Bytes(40000, 0)});
    list.push_back({"runs", runs(32768)});
    list.push_back({"random32k", randomBytes(32768)});
    // Text far behind text: only matches of 16 KiB and more reach back.
    const Bytes farText = words(3000);
    list.push_back({"far", concat({farText, randomBytes(36000), farText, randomBytes(5000), farText})});
    list.push_back({"mixed", concat({words(10000), runs(5000), randomBytes(3000), Bytes(700, 0), words(20000)})});
    return list;
}

void PrintTo(const Sample& sample, std::ostream* os)
{
    *os << sample.name;
}

class DifferentialTest : public testing::TestWithParam<Sample> {};

TEST_P(DifferentialTest, DecodesWhatLiblzo2Wrote)
{
    const Bytes& content = GetParam().content;
    for (const Method method : {Method::Lzo1x1, Method::Lzo1x999}) {
        const Bytes stream = compress(content, method);
        for (const std::size_t slack : {std::size_t(0), kDecoderSlack}) {
            Bytes output(content.size() + slack);
            std::size_t produced = 0;
            EXPECT_EQ(dcom(stream, output, content.size(), produced), LZOResult::Success);
            output.resize(produced);
            EXPECT_TRUE(output == content) << "method " << int(method) << ", slack " << slack;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Liblzo2, DifferentialTest, testing::ValuesIn(samples()),
                         [](const testing::TestParamInfo<Sample>& info) { return info.param.name; });

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
    for (const Sample& sample : samples()) {
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

} // namespace
} // namespace larkspan
