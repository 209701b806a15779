#include "cli/PackName.h"

#include <algorithm>

namespace larkspan::cli {

std::optional<std::vector<std::string>> packNameComponents(std::string_view given,
                                                           SafePathError* error)
{
    while (given.starts_with("./")) {
        given.remove_prefix(1);
        while (given.starts_with('/'))
            given.remove_prefix(1);
    }
    std::vector<std::string> components;
    if (given.starts_with('/') || given.starts_with('\\')) {
        components.push_back(std::string(given)); // refused below as absolute
    } else {
        for (std::size_t start = 0; start < given.size();) {
            const std::size_t end = std::min(given.find('/', start), given.size());
            if (end > start)
                components.emplace_back(given.substr(start, end - start));
            start = end + 1;
        }
    }
    if (!relativePathForComponents(components, error))
        return std::nullopt;
    return components;
}

} // namespace larkspan::cli
