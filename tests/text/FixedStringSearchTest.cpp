#include "text/FixedStringSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspan {
namespace {

ByteSpan bytesOf(const std::string& s)
{
    return ByteSpan(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

// Each text is planted at every distance from the start and the end of a
// filler, so that matches fall on every place of the sixteen-byte screen,
// across its cuts and in the one-by-one end.
TEST(FixedStringSearchTest, FindsTheFirstMatchWhereverItStands)
{
    constexpr std::size_t kNone = std::string::npos;
    struct Case {
        std::string needle, planted;
        bool ignoreCase;
        std::size_t at; // in `planted`
    };
    const std::vector<Case> cases = {
        {"objecttemplate", "ObjectTemplate", true, 0},
        {"ObjectTemplate", "objectTemplate", false, kNone},
        {"e", "abcdE", true, 4},
        {"sPiT", "Spitfire", true, 0},
        {"template", "ObjectTemplatObjectTemplate", true, 19}, // a near miss first
        {"\xC9t\xC9", "\xE9T\xE9", true, 0}, // É and é are one letter
        {"\xE9t\xE9", "eTe", true, kNone}, // but accents count
        {"1\xD7" "2", "1\xF7" "2", true, kNone}, // × and ÷ differ by 0x20, no case pair
        {"x@y", "X`Y", true, kNone},
        {"\xDF", "\xFF", true, kNone},
        {"a-\xFE", "A-\xDE", true, 0},
        {"z[\xE0\xBF", "Z[\xC0\xBF", true, 0}, // the edges of the upper-case runs
        {"z[", "Z{", true, kNone},
        {"A-\xDE", "A-\xFE", false, kNone},
    };
    for (const Case& c : cases) {
        const FixedStringSearch search(bytesOf(c.needle), c.ignoreCase);
        for (std::size_t before = 0; before < 34; ++before) {
            for (std::size_t after = 0; after < 18; ++after) {
                const std::string text = std::string(before, '-') + c.planted + std::string(after, '-');
                const std::size_t expected = c.at == kNone ? text.size() : before + c.at;
                ASSERT_EQ(search.find(bytesOf(text), 0), expected) << c.needle << " in " << text;
                if (c.at != kNone) {
                    ASSERT_EQ(search.find(bytesOf(text), expected + 1), text.size()) << c.needle << " in " << text;
                }
            }
        }
    }
}

TEST(FixedStringSearchTest, EmptyNeedleIsFoundWhereTheSearchStartsAndTooLongANeedleNowhere)
{
    const std::string text = "some text";
    EXPECT_EQ(FixedStringSearch({}, true).find(bytesOf(text), 5), 5u);
    EXPECT_EQ(FixedStringSearch(bytesOf("some text!"), true).find(bytesOf(text), 0), text.size());
    EXPECT_EQ(FixedStringSearch(bytesOf("text"), false).find(bytesOf(text), 6), text.size());
}

} // namespace
} // namespace larkspan
