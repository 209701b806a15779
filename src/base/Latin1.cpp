#include "base/Latin1.h"

#include <algorithm>

namespace larkspan {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void appendLatin1AsUtf8(std::string& out, ByteSpan latin1)
{
    // Runs of ASCII, most of any text, are appended whole.
    for (auto at = latin1.begin(); at != latin1.end();) {
        const auto high = std::find_if(at, latin1.end(), [](std::uint8_t b) { return b >= 0x80; });
        out.append(at, high);
        if (high == latin1.end())
            break;
        appendUtf8(out, *high);
        at = high + 1;
    }
}

std::string latin1ToUtf8(ByteSpan latin1)
{
    std::string out;
    out.reserve(latin1.size());
    appendLatin1AsUtf8(out, latin1);
    return out;
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = byte(pos);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + length > s.size()) {
        ++pos;
        return lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return lead;
        }
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return lead;
    }
    pos += length;
    return value;
}

std::size_t codePointCount(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count)
        nextCodePoint(s, pos);
    return count;
}

Bytes utf8ToLatin1Lossy(std::string_view s, std::uint8_t replacement)
{
    Bytes out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const char32_t c = nextCodePoint(s, pos);
        out.push_back(c <= 0xFF ? static_cast<std::uint8_t>(c) : replacement);
    }
    return out;
}

std::optional<Bytes> utf8ToLatin1(std::string_view s)
{
    Bytes out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const char32_t c = nextCodePoint(s, pos);
        if (c > 0xFF)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

} // namespace larkspan
