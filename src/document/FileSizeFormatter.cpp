#include "document/FileSizeFormatter.h"

#include <cstdio>

namespace larkspan {

namespace {

std::string decimal(double value, int places)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
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
