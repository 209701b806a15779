#include "cli/PackName.h"

#include <algorithm>

namespace larkspan::cli {

Result<std::vector<std::string>> packNameComponents(std::string_view given)
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
    if (const Result<std::filesystem::path> safe = relativePathForComponents(components); !safe)
        return safe.error();
    return components;
}

} // namespace larkspan::cli
