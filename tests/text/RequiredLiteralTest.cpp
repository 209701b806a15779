#include "text/RequiredLiteral.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// A literal that some match lacks would make a search skip matching lines:
// each pattern here tempts a careless reading into one.
TEST(RequiredLiteralTest, TakesOnlyWhatEveryMatchHolds)
{
    const struct {
        const char* pattern;
        const char* literal;
    } cases[] = {
        {"ObjectTemplate\\.create +Plane", "ObjectTemplate.create "}, {"^abc$", "abc"}, {"ab?cd", "cd"},
        {"abcd+e", "abcd"}, {"ab{2}c", "a"}, {"x{0,2}1234", "1234"}, {"[a-z]{10}ab", "ab"},
        {"[a\\]bc]de", "de"}, {"[]ab]cd", ""}, {"[[:alpha:]]xy", ""}, {"(?:ab(c)d)?efg", "efg"},
        {"abc|defgh", ""}, {"a(bc", ""}, {"\\x41bcd", "bcd"}, {"\\u0041bc", "bc"}, {"\\12345ab", "ab"},
        {"\\cJab", "ab"}, {"\\dab\\.c\\\\", "ab.c\\"}, {"a\\bcd", "cd"}, {"a\\", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(requiredLiteral(c.pattern), c.literal) << c.pattern;
}

} // namespace
} // namespace larkspan
