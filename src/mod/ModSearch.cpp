#include "mod/ModSearch.h"

#include "model/EntryKind.h"
#include "model/SearchPredicate.h"

#include <algorithm>

namespace larkspan {

namespace {

// Whether the entry's text holds the pattern, read a segment at a time and
// only up to the first match. A match across two segments lies in the seam:
// the last bytes of what was read joined to the first of the next segment.
bool textHolds(const ModIndex& index, EntrySource source, const FoldedPattern& pattern)
{
    const std::size_t length = pattern.latin1Length();
    if (length == 0)
        return false;
    const std::size_t reach = length - 1; // what a match may take from either side
    Bytes seam;
    bool found = false;
    const Result<void> read = index.readInPieces(source, [&](ByteSpan piece) {
        seam.insert(seam.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(std::min(reach, piece.size())));
        found = pattern.foundInLatin1(seam) || pattern.foundInLatin1(piece);
        if (piece.size() >= reach)
            seam.assign(piece.end() - static_cast<std::ptrdiff_t>(reach), piece.end());
        else if (seam.size() > reach)
            seam.erase(seam.begin(), seam.end() - static_cast<std::ptrdiff_t>(reach));
        return !found;
    });
    return read && found;
}

} // namespace

Result<std::vector<std::size_t>> searchMod(const ModIndex& index, std::string_view text, bool names, bool contents,
                                           const ReadProgress& progress)
{
    std::vector<std::size_t> found;
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
            found.push_back(e);
            continue;
        }
        if (!contents || !isTextKind(entryKindOf(extensionOf(name))))
            continue;
        if (textHolds(index, entries[e].source, pattern))
            found.push_back(e);
    }
    return found;
}

} // namespace larkspan
