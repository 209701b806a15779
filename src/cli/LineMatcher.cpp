#include "cli/LineMatcher.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace larkspan::cli {

namespace {

// Folded text is searched in pieces this long: a piece stays in the cache
// between folding and searching, and the first match ends the folding.
constexpr std::size_t kFoldedPiece = 16 * 1024;
constexpr std::size_t kFirstFoldedPiece = 512;

std::uint8_t folded(std::uint8_t c)
{
    return static_cast<std::uint8_t>(foldCase(c));
}

std::string_view lineAt(const char* text, std::size_t start, std::size_t end)
{
    if (end > start && text[end - 1] == '\r')
        --end; // the game's scripts end their lines with CR LF
    return std::string_view(text + start, end - start);
}

} // namespace

char Latin1RegexTraits::translate_nocase(char c) const
{
    return static_cast<char>(folded(static_cast<unsigned char>(c)));
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
                c = static_cast<char>(folded(static_cast<unsigned char>(c)));
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

std::size_t LineMatcher::find(ByteSpan text, std::size_t from) const
{
    const std::string& needle = *latin1Pattern_;
    const auto searchIn = [&](const std::uint8_t* bytes, std::size_t length) -> std::optional<std::size_t> {
        // string_view's find, not memmem: Windows' C library has none.
        const std::size_t hit =
            std::string_view(reinterpret_cast<const char*>(bytes), length).find(needle);
        if (hit == std::string_view::npos)
            return std::nullopt;
        return hit;
    };
    if (!options_.ignoreCase) {
        const std::optional<std::size_t> at = searchIn(text.data() + from, text.size() - from);
        return at ? from + *at : text.size();
    }
    // Pieces overlap by one byte less than the needle, so that no match is
    // cut. The first are short: where matches come close together (every
    // line printed), each search folds little beyond the next.
    std::size_t piece = kFirstFoldedPiece;
    for (std::size_t start = from; start < text.size(); start += piece, piece = std::min(2 * piece, kFoldedPiece)) {
        const std::size_t end = std::min(text.size(), start + piece + needle.size() - 1);
        folded_.resize(end - start);
        foldLatin1(text.subspan(start, end - start), folded_.data());
        if (const std::optional<std::size_t> at = searchIn(folded_.data(), folded_.size()))
            return start + *at;
        if (end == text.size())
            break;
    }
    return text.size();
}

// The whole text is searched at once, not line by line: lines are found
// only around a match, which in most entries never comes.
std::size_t LineMatcher::scanForString(ByteSpan text, bool firstOnly, const LineFound& found) const
{
    const char* chars = reinterpret_cast<const char*>(text.data());
    const std::size_t size = text.size();
    std::size_t count = 0, lineNumber = 1, lineStart = 0;
    while (lineStart < size) {
        const std::size_t at = find(text, lineStart);
        if (at == size)
            break;
        // Count the lines passed over on the way to the match.
        while (const void* breakAt = std::memchr(chars + lineStart, '\n', at - lineStart)) {
            lineStart = static_cast<std::size_t>(static_cast<const char*>(breakAt) - chars) + 1;
            ++lineNumber;
        }
        const void* lineBreak = std::memchr(chars + at, '\n', size - at);
        const std::size_t lineEnd = lineBreak ? static_cast<std::size_t>(static_cast<const char*>(lineBreak) - chars) : size;
        found(lineNumber, lineAt(chars, lineStart, lineEnd));
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
