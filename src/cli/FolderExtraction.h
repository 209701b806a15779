#pragma once

// Writing entries below the folder the command line chose, never outside
// it, by the rules `rfa extract` states: unsafe names are reported and
// skipped, existing files are kept unless forced, a file never replaces a
// folder. Shared by the extraction of one archive and of a whole mod.

#include "base/Bytes.h"
#include "base/Error.h"
#include "fs/FolderWriter.h"

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace larkspan::cli {

class FolderExtraction {
public:
    FolderExtraction(const std::string& folder, bool force) : writer_(pathFromUtf8(folder)), force_(force) {}

    // Writes the entry `name` of `source` (an archive, for messages); its
    // content is asked for only when it is to be written. False when it
    // could not be written where it belongs; an existing file that is kept
    // is not a failure.
    bool extract(std::string_view source, const std::string& name,
                 const std::function<Result<SharedBytes>()>& content);

private:
    const FolderWriter writer_;
    const bool force_;
    std::set<std::string> written_;
};

// Makes the destination folder where missing; false, with a message, when
// it cannot.
bool makeDestination(const std::string& folder);

// Flushes what was written to disk; false, with a message, when that fails.
bool flushDestination(const std::string& folder);

} // namespace larkspan::cli
