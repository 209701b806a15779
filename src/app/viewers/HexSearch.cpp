#include "app/viewers/HexSearch.h"

#include <algorithm>
#include <functional>

namespace larkspan {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::optional<std::uint64_t> findFrom(ByteSpan haystack, ByteSpan needle, std::uint64_t from, std::uint64_t end)
{
    // The window searched is [from, end + needle length): a match may start
    // before `end` and run past it.
    const std::uint64_t stop = std::min<std::uint64_t>(haystack.size(), end + needle.size() - 1);
    if (from >= stop)
        return std::nullopt;
    const auto first = haystack.begin() + static_cast<std::ptrdiff_t>(from);
    const auto last = haystack.begin() + static_cast<std::ptrdiff_t>(stop);
    const auto found = std::search(first, last, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    if (found == last)
        return std::nullopt;
    return static_cast<std::uint64_t>(found - haystack.begin());
}

} // namespace

std::optional<Bytes> parseHexBytes(std::string_view text)
{
    Bytes bytes;
    int high = -1;
    for (const char c : text) {
        if (isSpace(c)) {
            if (high >= 0)
                return std::nullopt; // a digit alone between spaces
            continue;
        }
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0 || bytes.empty())
        return std::nullopt;
    return bytes;
}

std::optional<std::uint64_t> parseHexOffset(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::optional<std::uint64_t> findBytesWrapping(ByteSpan haystack, ByteSpan needle, std::uint64_t from)
{
    if (needle.empty() || needle.size() > haystack.size())
        return std::nullopt;
    from = std::min<std::uint64_t>(from, haystack.size());
    if (const auto after = findFrom(haystack, needle, from, haystack.size()))
        return after;
    return findFrom(haystack, needle, 0, from);
}

} // namespace larkspan
