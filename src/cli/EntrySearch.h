#pragma once

#include "base/Bytes.h"
#include "base/Error.h"
#include "text/LineMatcher.h"
#include "format/RFADecompression.h"

#include <functional>
#include <string>
#include <vector>

namespace larkspan::cli {

// One entry to search: the archive it is shown with, its name, and how to
// read it: its content handed over in pieces (a segment at a time) until
// the taker returns false.
struct SearchedEntry {
    const std::string* archive;
    const std::string* name;
    std::function<Result<void>(const SegmentSink& take)> read;
};

struct SearchOutcome {
    bool matched = false;
    bool trouble = false; // an entry could not be read
};

// Reads and searches the entries on every core, and prints, in the
// entries' order, ARCHIVE:ENTRY:LINE:TEXT for each line found (or
// ARCHIVE:ENTRY for each entry with one, with `namesOnly`) and a message
// for each entry that cannot be read. An entry is searched as it is read,
// and with `namesOnly` read only up to its first match, as grep -l reads a
// file. `read` must be safe to call from several threads at once.
SearchOutcome searchEntries(const std::vector<SearchedEntry>& entries, const LineMatcher& matcher, bool namesOnly);

} // namespace larkspan::cli
