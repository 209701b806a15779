#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace larkspan::fixtures {

// "a/b/c" → {"a", "b", "c"}; "" → {}.
inline std::vector<std::string> pathComponents(std::string_view path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        names.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return names;
}

} // namespace larkspan::fixtures
