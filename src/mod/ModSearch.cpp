#include "mod/ModSearch.h"

#include "base/Latin1.h"
#include "model/EntryKind.h"
#include "model/SearchPredicate.h"

#include <algorithm>
#include <cstring>

namespace larkspan {

namespace {

// How much of a long line is kept on either side of the match.
constexpr std::size_t kBeforeMatch = 40;
constexpr std::size_t kAfterMatch = 120;

bool isBlank(std::uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The line around the match at `at` in the text read so far.
TextHit hitAt(ByteSpan read, std::size_t at, std::size_t length)
{
    const auto begin = read.begin();
    std::size_t lineStart = at;
    while (lineStart > 0 && read[lineStart - 1] != '\n')
        --lineStart;
    const auto lineBreak = std::find(begin + static_cast<std::ptrdiff_t>(at), read.end(), std::uint8_t('\n'));
    std::size_t lineEnd = static_cast<std::size_t>(lineBreak - begin);
    while (lineStart < at && isBlank(read[lineStart]))
        ++lineStart;
    while (lineEnd > at && isBlank(read[lineEnd - 1]))
        --lineEnd;
    const std::size_t from = std::max(lineStart, at > kBeforeMatch ? at - kBeforeMatch : 0);
    const std::size_t to = std::min(lineEnd, at + length + kAfterMatch);
    TextHit hit{static_cast<std::size_t>(std::count(begin, begin + static_cast<std::ptrdiff_t>(lineStart), '\n')) + 1, {}};
    if (from > lineStart)
        hit.text = "…";
    appendLatin1AsUtf8(hit.text, read.subspan(from, to - from));
    // A line read no further than the kept part goes on beyond it too.
    if (to < lineEnd)
        hit.text += "…";
    return hit;
}

// The first match in the entry's text, read a segment at a time and only up
// to the end of the match's line (or as much of it as is shown). A match
// across two segments is found: each search starts far enough back.
std::optional<TextHit> firstHit(const ModIndex& index, EntrySource source, const FoldedPattern& pattern)
{
    const std::size_t length = pattern.latin1Length();
    if (length == 0)
        return std::nullopt;
    Bytes read;
    std::size_t searchFrom = 0;
    std::optional<std::size_t> at;
    const auto lineRead = [&] {
        return std::memchr(read.data() + *at, '\n', read.size() - *at) || read.size() > *at + length + kAfterMatch;
    };
    // A damaged segment after the match does not undo it.
    (void)index.readInPieces(source, [&](ByteSpan piece) {
        read.insert(read.end(), piece.begin(), piece.end());
        if (!at) {
            if (const std::size_t found = pattern.findInLatin1(read, searchFrom); found < read.size())
                at = found;
            else
                searchFrom = read.size() >= length ? read.size() - length + 1 : 0;
        }
        return !at || !lineRead();
    });
    if (!at)
        return std::nullopt;
    return hitAt(read, *at, length);
}

} // namespace

Result<std::vector<ModHit>> searchMod(const ModIndex& index, std::string_view text, bool names, bool contents,
                                      const ReadProgress& progress)
{
    std::vector<ModHit> found;
    const FoldedPattern pattern(text);
    if (pattern.empty() || (!names && !contents))
        return found;
    const std::vector<ModEntry>& entries = index.entries();
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (progress && !progress(e, entries.size()))
            return Error{ErrorCode::Cancelled};
        const std::string& path = index.path(entries[e]);
        const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
        // Only text entries are decoded, and only when their name alone does not match.
        if (names && pattern.foundInUtf8(name)) {
            found.push_back({e, std::nullopt});
            continue;
        }
        if (!contents || !isTextKind(entryKindOf(extensionOf(name))))
            continue;
        if (std::optional<TextHit> hit = firstHit(index, entries[e].source, pattern))
            found.push_back({e, std::move(hit)});
    }
    return found;
}

} // namespace larkspan
