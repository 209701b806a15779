#include "cli/LineMatcher.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace larkspan::cli {

namespace {

// foldCase for every Latin-1 byte, looked up instead of called: whole entries are folded.
const std::array<std::uint8_t, 256> kFolded = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = static_cast<std::uint8_t>(foldCase(c));
    return table;
}();

std::string_view lineAt(const char* text, std::size_t start, std::size_t end)
{
    if (end > start && text[end - 1] == '\r')
        --end; // the game's scripts end their lines with CR LF
    return std::string_view(text + start, end - start);
}

} // namespace

char Latin1RegexTraits::translate_nocase(char c) const
{
    return static_cast<char>(kFolded[static_cast<unsigned char>(c)]);
}

LineMatcher::LineMatcher(std::string_view pattern, MatchOptions options) : options_(options)
{
    if (const std::optional<Bytes> latin1 = utf8ToLatin1(pattern))
        latin1Pattern_ = std::string(latin1->begin(), latin1->end());
    if (!latin1Pattern_)
        return;
    if (options.fixedString) {
        if (options.ignoreCase)
            for (char& c : *latin1Pattern_)
                c = static_cast<char>(kFolded[static_cast<unsigned char>(c)]);
        return;
    }
    auto flags = std::regex_constants::ECMAScript | std::regex_constants::optimize;
    if (options.ignoreCase)
        flags |= std::regex_constants::icase;
    expression_.emplace(*latin1Pattern_, flags);
}

std::size_t LineMatcher::scan(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    if (!latin1Pattern_)
        return 0;
    return options_.fixedString ? scanForString(text, firstOnly, found) : scanForExpression(text, firstOnly, found);
}

// The whole text is searched at once, not line by line: lines are found
// only around a match, which in most entries never comes.
std::size_t LineMatcher::scanForString(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    const char* original = reinterpret_cast<const char*>(text.data());
    const char* haystack = original;
    if (options_.ignoreCase) {
        folded_.resize(text.size());
        std::transform(text.begin(), text.end(), folded_.begin(), [](std::uint8_t c) { return kFolded[c]; });
        haystack = reinterpret_cast<const char*>(folded_.data());
    }
    const std::string& needle = *latin1Pattern_;
    const std::size_t size = text.size();
    std::size_t count = 0, lineNumber = 1, lineStart = 0;
    while (lineStart < size) {
        const void* hit = ::memmem(haystack + lineStart, size - lineStart, needle.data(), needle.size());
        if (!hit)
            break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - haystack);
        // Count the lines passed over on the way to the match.
        while (const void* breakAt = std::memchr(haystack + lineStart, '\n', at - lineStart)) {
            lineStart = static_cast<std::size_t>(static_cast<const char*>(breakAt) - haystack) + 1;
            ++lineNumber;
        }
        const void* lineBreak = std::memchr(haystack + at, '\n', size - at);
        const std::size_t lineEnd = lineBreak ? static_cast<std::size_t>(static_cast<const char*>(lineBreak) - haystack) : size;
        found(lineNumber, lineAt(original, lineStart, lineEnd));
        ++count;
        if (firstOnly)
            break;
        lineStart = lineEnd + 1;
        ++lineNumber;
    }
    return count;
}

std::size_t LineMatcher::scanForExpression(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    const char* chars = reinterpret_cast<const char*>(text.data());
    std::size_t count = 0, lineNumber = 1;
    for (std::size_t start = 0; start < text.size(); ++lineNumber) {
        const void* lineBreak = std::memchr(chars + start, '\n', text.size() - start);
        const std::size_t end = lineBreak ? static_cast<std::size_t>(static_cast<const char*>(lineBreak) - chars) : text.size();
        const std::string_view line = lineAt(chars, start, end);
        if (std::regex_search(line.begin(), line.end(), *expression_)) {
            found(lineNumber, line);
            ++count;
            if (firstOnly)
                break;
        }
        start = end + 1;
    }
    return count;
}

} // namespace larkspan::cli
