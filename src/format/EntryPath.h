#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// Splits a stored entry name into components: runs of "/" count as one, a
// leading "/" becomes a first component "/", a trailing "/" a last
// component "/". Always at least one component (an empty name gives "").
std::vector<std::string> splitEntryPath(std::string_view path);

} // namespace larkspan
