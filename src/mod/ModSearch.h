#pragma once

#include "base/Error.h"
#include "mod/ModIndex.h"
#include "model/RFAArchive.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace larkspan {

// The entries of the mod (positions in ModIndex::entries(), in order) whose
// own name contains `text` (with `names`) or whose text does (with
// `contents`; text entries only, each read and decoded here up to its first
// match), ignoring case
// and accents as the archive window's search does. An entry that cannot be
// read does not match. Cancelled when `progress` (over the entries) stops it.
Result<std::vector<std::size_t>> searchMod(const ModIndex& index, std::string_view text, bool names, bool contents,
                                           const ReadProgress& progress = {});

} // namespace larkspan
