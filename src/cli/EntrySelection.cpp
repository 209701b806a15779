#include "cli/EntrySelection.h"

#include "base/StringAdditions.h"

namespace larkspan::cli {

EntrySelection::EntrySelection(const std::vector<std::string>& paths, bool ignoreCase) : ignoreCase_(ignoreCase)
{
    for (std::string path : paths) {
        while (path.size() > 1 && path.ends_with('/'))
            path.pop_back();
        std::string key = ignoreCase ? foldedCopy(path) : path;
        wanted_.push_back({std::move(path), std::move(key)});
    }
}

bool EntrySelection::selects(std::string_view name)
{
    if (wanted_.empty())
        return true;
    const std::string folded = ignoreCase_ ? foldedCopy(name) : std::string();
    const std::string_view entryName = ignoreCase_ ? std::string_view(folded) : name;
    bool selected = false;
    for (Wanted& wanted : wanted_) {
        const std::string_view path = wanted.key;
        const bool atOrUnder =
            entryName == path || (entryName.starts_with(path) && entryName.size() > path.size() &&
                                  entryName[path.size()] == '/');
        if (atOrUnder) {
            wanted.matched = true;
            selected = true;
        }
    }
    return selected;
}

std::vector<std::string> EntrySelection::unmatchedPaths() const
{
    std::vector<std::string> unmatched;
    for (const Wanted& wanted : wanted_)
        if (!wanted.matched)
            unmatched.push_back(wanted.path);
    return unmatched;
}

} // namespace larkspan::cli
