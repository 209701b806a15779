#include "text/LineMatcher.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"
#include "text/RequiredLiteral.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace larkspan {

namespace {

std::string_view lineAt(const char* text, std::size_t start, std::size_t end)
{
    if (end > start && text[end - 1] == '\r')
        --end; // the game's scripts end their lines with CR LF
    return std::string_view(text + start, end - start);
}

ByteSpan bytesOf(std::string_view text)
{
    return ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace

char Latin1RegexTraits::translate_nocase(char c) const
{
    return static_cast<char>(foldCase(static_cast<unsigned char>(c)));
}

LineMatcher::LineMatcher(std::string_view pattern, MatchOptions options)
{
    const std::optional<Bytes> latin1 = utf8ToLatin1(pattern);
    if (!latin1)
        return;
    if (options.fixedString) {
        literal_.emplace(*latin1, options.ignoreCase);
        return;
    }
    const std::string expression(latin1->begin(), latin1->end());
    auto flags = std::regex_constants::ECMAScript | std::regex_constants::optimize;
    if (options.ignoreCase)
        flags |= std::regex_constants::icase;
    expression_.emplace(expression, flags);
    // Ignoring case, the literals are found in the same folding the expression uses.
    std::vector<std::string> literals = requiredLiterals(expression);
    if (literals.empty())
        return;
    const auto longest = std::max_element(literals.begin(), literals.end(),
                                          [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    literal_.emplace(bytesOf(*longest), options.ignoreCase);
    literals.erase(longest);
    for (const std::string& other : literals)
        otherLiterals_.emplace_back(bytesOf(other), options.ignoreCase);
}

std::size_t LineMatcher::scan(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    if (literal_)
        return scanAround(text, firstOnly, found);
    return expression_ ? scanEveryLine(text, firstOnly, found) : 0;
}

// The whole text is searched for the literal at once, not line by line:
// lines are found only around it, which in most entries never comes.
std::size_t LineMatcher::scanAround(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    const char* chars = reinterpret_cast<const char*>(text.data());
    const std::size_t size = text.size();
    std::size_t count = 0, lineNumber = 1, lineStart = 0;
    while (lineStart < size) {
        const std::size_t at = literal_->find(text, lineStart);
        if (at == size)
            break;
        // Count the lines passed over on the way to the literal.
        while (const void* breakAt = std::memchr(chars + lineStart, '\n', at - lineStart)) {
            lineStart = static_cast<std::size_t>(static_cast<const char*>(breakAt) - chars) + 1;
            ++lineNumber;
        }
        const void* lineBreak = std::memchr(chars + at, '\n', size - at);
        const std::size_t lineEnd = lineBreak ? static_cast<std::size_t>(static_cast<const char*>(lineBreak) - chars) : size;
        const std::string_view line = lineAt(chars, lineStart, lineEnd);
        if (!expression_ || (holdsTheOtherLiterals(line) && std::regex_search(line.begin(), line.end(), *expression_))) {
            found(lineNumber, line);
            ++count;
            if (firstOnly)
                break;
        }
        lineStart = lineEnd + 1;
        ++lineNumber;
    }
    return count;
}

bool LineMatcher::holdsTheOtherLiterals(std::string_view line) const
{
    const ByteSpan bytes = bytesOf(line);
    return std::all_of(otherLiterals_.begin(), otherLiterals_.end(),
                       [&](const FixedStringSearch& literal) { return literal.find(bytes, 0) != bytes.size(); });
}

std::size_t LineMatcher::scanEveryLine(ByteSpan text, bool firstOnly, const LineFound& found) const
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

} // namespace larkspan
