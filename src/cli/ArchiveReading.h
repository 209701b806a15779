#pragma once

#include "model/RFAArchive.h"

#include <memory>
#include <string>

namespace larkspan::cli {

// The whole archive in memory, read with a progress line; null, with the
// reason on stderr, when it cannot be read.
std::unique_ptr<RFAArchive> readArchive(const std::string& path);

} // namespace larkspan::cli
