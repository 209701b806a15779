#include "mod/ModSearch.h"

#include "model/EntryKind.h"
#include "model/SearchPredicate.h"

namespace larkspan {

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
        const Result<SharedBytes> bytes = index.content(entries[e].source);
        if (bytes && pattern.foundInLatin1(**bytes))
            found.push_back(e);
    }
    return found;
}

} // namespace larkspan
