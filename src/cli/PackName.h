#pragma once

#include "fs/SafePath.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan::cli {

// The folder path that begins every entry name of a packed archive, split
// into components. Harmless spellings are tidied ("./" in front, "/"
// doubled or at the end); a name that would make unsafe entry names
// (absolute, ".", "..", a backslash) gives the reason.
Result<std::vector<std::string>> packNameComponents(std::string_view given);

} // namespace larkspan::cli
