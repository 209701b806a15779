#include "text/LineMatcher.h"

#include "base/Latin1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace larkspan {
namespace {

using Lines = std::vector<std::pair<std::size_t, std::string>>;

ByteSpan bytesOf(const std::string& text)
{
    return ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// Latin-1, CR LF and LF lines, an empty one, and a last line without a break.
const std::string kText = "rem ObjectTemplate.create PlaneAirframe Spitfire\r\n"
                          "ObjectTemplate.create  PlaneAirframe Hurricane\r\n"
                          "objecttemplate.CREATE planeairframe Bf109\n"
                          "ObjectTemplateXcreate PlaneAirframe Fake\n"
                          "\n"
                          "CAF\xC9 caf\xE9 cafe\r\n"
                          "version 1.61 and 1x61\n"
                          "aaab abbbc ac\n"
                          "ObjectTemplate.setPosition 1/2/3";

// Every line tried, one by one: what the matcher finds must not depend on
// the literal it looks for first.
Lines everyLineMatching(const std::string& latin1Pattern, bool ignoreCase)
{
    const auto flags = std::regex_constants::ECMAScript | (ignoreCase ? std::regex_constants::icase : std::regex_constants::syntax_option_type{});
    const std::basic_regex<char, Latin1RegexTraits> expression(latin1Pattern, flags);
    Lines lines;
    std::istringstream in(kText);
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (std::regex_search(line, expression))
            lines.emplace_back(number, line);
    }
    return lines;
}

TEST(LineMatcherTest, FindsWhatTryingEveryLineFinds)
{
    const struct {
        std::string pattern; // UTF-8
        bool ignoreCase;
        std::size_t lines; // how many match
    } cases[] = {
        {"ObjectTemplate\\.create +PlaneAirframe", false, 2}, {"ObjectTemplate\\.create +PlaneAirframe", true, 3},
        {"^ObjectTemplate", false, 3}, {"Spitfire$", false, 1}, {"Position [0-9]/2/3$", false, 1},
        {"create +(Plane|Tank)Airframe (Hurricane|Bf109)", true, 2}, {"Template.create", false, 3},
        {"caf\xC3\xA9 caf\xC3\x89", true, 1}, {"\xC3\xA9 cafe", true, 1}, {"1\\.61", false, 1},
        {"\\d\\.\\d+ and", false, 1}, {"ab?c$", false, 1}, {"ab+c", false, 1}, {"b{2,}c", false, 1},
        {"a(?:bbb)?c", false, 1}, {"x{0,2}aaab", false, 1}, {"\\x61aab", false, 1}, {"(a)\\1ab", false, 1},
        {"[Oo]bject[A-Z]emplate\\.", false, 3}, {"PlaneAirframe (?!Spitfire)\\w+", false, 2},
        {"Hurricane|Bf109", false, 2}, {"", false, 9},
        {"ObjectTemplate\\.[a-zA-Z]+ion", false, 1}, {"CAF. caf\xC3\x89", true, 1},
    };
    for (const auto& c : cases) {
        const std::optional<Bytes> latin1 = utf8ToLatin1(c.pattern);
        ASSERT_TRUE(latin1) << c.pattern;
        Lines expected = everyLineMatching(std::string(latin1->begin(), latin1->end()), c.ignoreCase);
        EXPECT_EQ(expected.size(), c.lines) << c.pattern;
        const LineMatcher matcher(c.pattern, {c.ignoreCase, false});
        for (const bool firstOnly : {false, true}) {
            SCOPED_TRACE(c.pattern + (c.ignoreCase ? " -i" : "") + (firstOnly ? " first" : ""));
            Lines found;
            const std::size_t count = matcher.scan(bytesOf(kText), firstOnly, [&](std::size_t number, std::string_view line) {
                found.emplace_back(number, std::string(line));
            });
            expected.resize(firstOnly ? std::min<std::size_t>(expected.size(), 1) : expected.size());
            EXPECT_EQ(found, expected);
            EXPECT_EQ(count, found.size());
        }
    }
}

} // namespace
} // namespace larkspan
