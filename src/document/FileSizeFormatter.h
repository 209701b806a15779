#pragma once

#include "base/Translator.h"

#include <cstdint>
#include <string>

namespace larkspan {

// The one rule for showing byte counts: "%u Bytes", "%u KB" (rounded up),
// "%.1f MB", "%.2f GB", in powers of 1024. Sums beyond 4 GiB are shown as
// they are, not wrapped around.
class FileSizeFormatter {
public:
    static std::string stringForNumber(std::uint64_t bytes, Translator translate = nullptr);
};

} // namespace larkspan
