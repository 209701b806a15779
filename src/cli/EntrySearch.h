#pragma once

#include "base/Bytes.h"
#include "base/Error.h"
#include "cli/LineMatcher.h"

#include <functional>
#include <string>
#include <vector>

namespace larkspan::cli {

// One entry to search: the archive it is shown with, its name, and how to
// read it.
struct SearchedEntry {
    const std::string* archive;
    const std::string* name;
    std::function<Result<SharedBytes>()> content;
};

struct SearchOutcome {
    bool matched = false;
    bool trouble = false; // an entry could not be read
};

// Reads and searches the entries on every core, and prints, in the
// entries' order, ARCHIVE:ENTRY:LINE:TEXT for each line found (or
// ARCHIVE:ENTRY for each entry with one, with `namesOnly`) and a message
// for each entry that cannot be read. `content` must be safe to call from
// several threads at once.
SearchOutcome searchEntries(const std::vector<SearchedEntry>& entries, const LineMatcher& matcher, bool namesOnly);

} // namespace larkspan::cli
