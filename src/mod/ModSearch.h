#pragma once

#include "base/Error.h"
#include "mod/ModIndex.h"
#include "model/RFAArchive.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// The line of an entry's text where the searched text first stands.
struct TextHit {
    std::size_t line = 0; // from 1
    // The line in UTF-8, without its line break and the blanks at its ends;
    // a long one only around the match, "…" where it is cut.
    std::string text;
};

struct ModHit {
    std::size_t entry = 0;      // in ModIndex::entries()
    std::optional<TextHit> hit; // nothing when the entry's name matched
};

// The entries of the mod (in the order of ModIndex::entries()) whose own
// name contains `text` (with `names`) or whose text does (with `contents`;
// text entries only, each read and decoded here up to the end of the line of
// its first match), ignoring case and accents as the archive window's search
// does. An entry that cannot be read before a match does not match.
// Cancelled when `progress` (over the entries) stops it.
Result<std::vector<ModHit>> searchMod(const ModIndex& index, std::string_view text, bool names, bool contents,
                                      const ReadProgress& progress = {});

} // namespace larkspan
