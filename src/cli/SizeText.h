#pragma once

#include <cstdint>
#include <string>

namespace larkspan::cli {

// A size as the archive window shows it ("12 KB", "3.4 MB"), but one byte
// as "1 Byte", not the window's "1 Bytes".
std::string shownSize(std::uint64_t bytes);

} // namespace larkspan::cli
