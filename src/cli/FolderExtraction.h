#pragma once

// Writing entries below the folder the command line chose, never outside
// it, by the rules `rfa extract` states: unsafe names are reported and
// skipped, existing files are kept unless forced, a file never replaces a
// folder. Shared by the extraction of one archive and of a whole mod.

#include "base/Bytes.h"
#include "base/Error.h"
#include "fs/FolderWriter.h"

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan::cli {

// An entry to write: where it comes from (an archive, for messages) and
// its stored name.
struct ExtractionEntry {
    std::string_view source;
    std::string name;
};

class FolderExtraction {
public:
    FolderExtraction(const std::string& folder, bool force)
        : folder_(folder), writer_(pathFromUtf8(folder)), force_(force)
    {
    }

    // Writes the entries, several at once on worker threads, with their
    // messages in the entries' order as if written one after another.
    // content(i) is asked for on a worker, and only when entry i is to be
    // written; taken(i) runs on the calling thread, in order, once entry i
    // is done. False when any entry could not be written where it belongs;
    // an existing file that is kept is not a failure.
    bool extract(const std::vector<ExtractionEntry>& entries,
                 const std::function<Result<SharedBytes>(std::size_t)>& content,
                 const std::function<void(std::size_t)>& taken);

    // Flushes the files written over existing ones to disk; false, with a
    // message, when that fails.
    bool flushReplaced();

private:
    struct Outcome;
    Outcome write(const ExtractionEntry& entry, const std::function<Result<SharedBytes>()>& content,
                  bool writtenBefore) const;

    const std::string folder_;
    const FolderWriter writer_;
    const bool force_;
    std::set<std::string> written_;
    bool replacedAny_ = false;
};

// Makes the destination folder where missing; false, with a message, when
// it cannot.
bool makeDestination(const std::string& folder);

} // namespace larkspan::cli
