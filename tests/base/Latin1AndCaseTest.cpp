#include "base/Latin1.h"
#include "base/StringAdditions.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(Latin1, EveryByteRoundTripsThroughUtf8)
{
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    const std::string utf8 = latin1ToUtf8(all);
    EXPECT_EQ(codePointCount(utf8), 256u);
    EXPECT_EQ(utf8ToLatin1(utf8), all);
    EXPECT_EQ(utf8ToLatin1Lossy(utf8), all);
    EXPECT_EQ(latin1ToUtf8(Bytes{0xE9, 0x0D, 0x0A}), "\u00e9\r\n");
}

TEST(Latin1, CharactersBeyondLatin1)
{
    const std::string text = "a\u20ac\U0001F600b"; // euro sign, emoji
    EXPECT_FALSE(utf8ToLatin1(text));
    EXPECT_EQ(utf8ToLatin1Lossy(text), (Bytes{'a', '?', '?', 'b'}));
    EXPECT_EQ(codePointCount(text), 4u);
}

TEST(Latin1, InvalidUtf8BytesStandForThemselves)
{
    // Names from a file system need not be UTF-8: a lone 0xE9 is é.
    const std::string raw = "caf\xE9";
    EXPECT_EQ(utf8ToLatin1(raw), (Bytes{'c', 'a', 'f', 0xE9}));
    EXPECT_EQ(codePointCount("\xC3"), 1u) << "a truncated sequence";
    EXPECT_EQ(utf8ToLatin1("\xC0\x80"), (Bytes{0xC0, 0x80})) << "an overlong form is not decoded";
}

TEST(StringAdditions, CaseInsensitiveEquality)
{
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    for (const Case& c : {Case{"Mods", "MODS", true}, Case{"mods", "mod", false},
                          Case{"\u00c9t\u00e9", "\u00e9T\u00c9", true}, Case{"", "", true},
                          Case{"a", "b", false}, Case{"ab", "abc", false}})
        EXPECT_EQ(isCaseInsensitiveEqual(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

} // namespace
} // namespace larkspan
