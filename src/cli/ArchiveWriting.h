#pragma once

#include "model/RFAArchive.h"

#include <string>

namespace larkspan::cli {

// Writes the archive to `output` atomically, compressed at the level named
// ("fast", "best") or uncompressed when `compress` is empty, with a progress
// line. False, with the reason on stderr and nothing under the name, when it
// cannot.
bool writeArchive(const RFAArchive& archive, const std::string& output, const std::string& compress);

} // namespace larkspan::cli
