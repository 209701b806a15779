#pragma once

#include "format/Lzo1xCompressor.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace larkspan::cli {

// "--compress[=fast|best]" on a command: `level` holds the level named, or
// "best" when the option stands alone.
CLI::Option* addCompressOption(CLI::App& command, std::string& level);

// The level an option's value names.
CompressionLevel compressionLevel(const std::string& level);

// The archive's form and its stored bytes over its content, for messages:
// "compressed, stored/size 0.412".
std::string formText(bool compressed, std::uint64_t storedSize, std::uint64_t size);

// stored/size with three decimals, or "-" for nothing.
std::string ratioText(std::uint64_t storedSize, std::uint64_t size);

} // namespace larkspan::cli
