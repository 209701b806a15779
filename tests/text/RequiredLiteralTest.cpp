#include "text/RequiredLiteral.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspan {
namespace {

// A literal that some match lacks would make a search skip matching lines:
// each pattern here tempts a careless reading into one.
TEST(RequiredLiteralTest, TakesOnlyWhatEveryMatchHolds)
{
    const struct {
        const char* pattern;
        std::vector<std::string> literals;
    } cases[] = {
        {"ObjectTemplate\\.create +Plane", {"ObjectTemplate.create ", "Plane"}}, {"^abc$", {"abc"}},
        {"ab?cd", {"a", "cd"}}, {"abcd+e", {"abcd", "e"}}, {"ab{2}c", {"a", "c"}}, {"x{0,2}1234", {"1234"}},
        {"[a\\]bc]de", {"de"}}, {"[]ab]cd", {}}, {"[[:alpha:]]xy", {}}, {"(?:ab(c)d)?efg", {"efg"}},
        {"abc|defgh", {}}, {"a(bc", {}}, {"\\x41bcd", {"bcd"}}, {"\\u0041bc", {"bc"}}, {"\\12345ab", {"ab"}},
        {"\\cJab", {"ab"}}, {"\\dab\\.c\\\\", {"ab.c\\"}}, {"a\\bcd", {"a", "cd"}}, {"a\\", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(requiredLiterals(c.pattern), c.literals) << c.pattern;
}

} // namespace
} // namespace larkspan
