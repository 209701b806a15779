#include "document/FileSizeFormatter.h"

#include <cstdio>

namespace larkspan {

namespace {

template <typename Value>
std::string format(const char* pattern, FileSizeFormatter::Translator translate, Value value)
{
    const std::string localized = translate ? translate(pattern) : std::string(pattern);
    char text[64];
    std::snprintf(text, sizeof text, localized.c_str(), value);
    return text;
}

} // namespace

std::string FileSizeFormatter::stringForNumber(std::uint64_t n, Translator translate)
{
    constexpr std::uint64_t KB = 1024, MB = KB * 1024, GB = MB * 1024;
    if (n < KB)
        return format("%u Bytes", translate, static_cast<unsigned>(n));
    if (n < MB)
        return format("%u KB", translate, static_cast<unsigned>((n + KB - 1) / KB));
    if (n < GB)
        return format("%.1f MB", translate, static_cast<double>(n) / MB);
    return format("%.2f GB", translate, static_cast<double>(n) / GB);
}

} // namespace larkspan
