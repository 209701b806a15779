#include "format/EntryPath.h"

namespace larkspan {

std::vector<std::string> splitEntryPath(std::string_view path)
{
    std::vector<std::string> components;
    if (path.starts_with('/'))
        components.emplace_back("/");
    std::size_t pos = 0;
    while (pos < path.size()) {
        const std::size_t start = path.find_first_not_of('/', pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(path.find('/', start), path.size());
        components.emplace_back(path.substr(start, end - start));
        pos = end;
    }
    if (path.size() > 1 && path.ends_with('/'))
        components.emplace_back("/");
    if (components.empty())
        components.emplace_back(path);
    return components;
}

} // namespace larkspan
