#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace larkspan::cli {

// The entries a command line names: every entry when no path is given,
// otherwise those at or under one of the paths. Remembers which paths
// matched something, so that a mistyped one can be reported.
class EntrySelection {
public:
    // `ignoreCase`: paths match names that differ only in case, as the game
    // finds them.
    explicit EntrySelection(const std::vector<std::string>& paths, bool ignoreCase = false);

    bool selects(std::string_view entryName);
    std::vector<std::string> unmatchedPaths() const;

private:
    struct Wanted {
        std::string path; // without trailing "/"
        std::string key;  // the path as compared
        bool matched = false;
    };
    std::vector<Wanted> wanted_;
    bool ignoreCase_;
};

} // namespace larkspan::cli
