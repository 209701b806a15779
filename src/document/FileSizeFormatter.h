#pragma once

#include <cstdint>
#include <string>

namespace larkspan {

// The one rule for showing byte counts: "%u Bytes", "%u KB" (rounded up),
// "%.1f MB", "%.2f GB", in powers of 1024. The formats are English source
// texts; `translate` lets the UI substitute its translations.
class FileSizeFormatter {
public:
    using Translator = std::string (*)(const char* format);

    static std::string stringForNumber(std::uint64_t bytes, Translator translate = nullptr);
};

} // namespace larkspan
