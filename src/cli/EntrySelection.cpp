#include "cli/EntrySelection.h"

namespace larkspan::cli {

EntrySelection::EntrySelection(const std::vector<std::string>& paths)
{
    for (std::string path : paths) {
        while (path.size() > 1 && path.ends_with('/'))
            path.pop_back();
        wanted_.push_back({std::move(path)});
    }
}

bool EntrySelection::selects(std::string_view entryName)
{
    if (wanted_.empty())
        return true;
    bool selected = false;
    for (Wanted& wanted : wanted_) {
        const std::string_view path = wanted.path;
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
