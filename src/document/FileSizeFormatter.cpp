#include "document/FileSizeFormatter.h"

#include <charconv>

namespace larkspan {

namespace {

// The same digits in every locale: the C library's formatting would follow
// the decimal comma of the user's locale, which the application takes on.
std::string decimal(double value, int places)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
    return std::string(text, end.ptr);
}

} // namespace

std::string FileSizeFormatter::stringForNumber(std::uint64_t n, Translator translate)
{
    constexpr std::uint64_t KB = 1024, MB = KB * 1024, GB = MB * 1024;
    if (n < KB)
        return fillPlaceholders(translated(translate, "%u Bytes"), {std::to_string(n)});
    if (n < MB)
        return fillPlaceholders(translated(translate, "%u KB"), {std::to_string((n + KB - 1) / KB)});
    if (n < GB)
        return fillPlaceholders(translated(translate, "%.1f MB"), {decimal(static_cast<double>(n) / MB, 1)});
    return fillPlaceholders(translated(translate, "%.2f GB"), {decimal(static_cast<double>(n) / GB, 2)});
}

} // namespace larkspan
