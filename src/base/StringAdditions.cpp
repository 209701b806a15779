#include "base/StringAdditions.h"

#include "base/Latin1.h"

#include <cstring>

namespace larkspan {

namespace {

bool sameCharacter(char32_t a, char32_t b, StringCompareOptions options)
{
    return options == StringCompareOptions::CaseInsensitive ? foldCase(a) == foldCase(b) : a == b;
}

// Length in bytes of `later` that agrees with `earlier`, character by character.
std::size_t commonPrefixLength(std::string_view earlier, std::string_view later,
                               StringCompareOptions options)
{
    std::size_t e = 0;
    std::size_t l = 0;
    while (e < earlier.size() && l < later.size()) {
        std::size_t nextL = l;
        if (!sameCharacter(nextCodePoint(earlier, e), nextCodePoint(later, nextL), options))
            break;
        l = nextL;
    }
    return l;
}

} // namespace

void foldLatin1(ByteSpan text, std::uint8_t* out)
{
    constexpr std::uint64_t kEach = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x80 * kEach;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        if ((word & kHigh) == 0) {
            // Per byte, without carries between bytes (all below 0x80): the
            // high bit of each sum says "at least A" and "beyond Z".
            const std::uint64_t atLeastA = word + (0x80 - 'A') * kEach;
            const std::uint64_t beyondZ = word + (0x80 - 'Z' - 1) * kEach;
            word |= ((atLeastA & ~beyondZ) & kHigh) >> 2;
            std::memcpy(out + at, &word, 8);
            continue;
        }
        for (std::size_t i = at; i < at + 8; ++i)
            out[i] = static_cast<std::uint8_t>(foldCase(text[i]));
    }
    for (; at < text.size(); ++at)
        out[at] = static_cast<std::uint8_t>(foldCase(text[at]));
}

bool isCaseInsensitiveEqual(std::string_view a, std::string_view b)
{
    const std::size_t common = commonPrefixLength(a, b, StringCompareOptions::CaseInsensitive);
    return common == b.size() && codePointCount(a) == codePointCount(b);
}

std::string foldedCopy(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[pos]);
        if (byte < 0x80) { // most names are ASCII: no decoding
            folded += static_cast<char>(foldCase(byte));
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(utf8, pos);
        const char32_t lower = foldCase(c);
        if (lower == c)
            folded.append(utf8.substr(start, pos - start)); // kept as it was, even when not valid UTF-8
        else
            appendUtf8(folded, lower);
    }
    return folded;
}

std::optional<std::string> commonPrefixWithOptions(const std::vector<std::string>& texts,
                                                   StringCompareOptions options)
{
    if (texts.empty())
        return std::nullopt;
    std::string prefix = texts.front();
    for (std::size_t i = 1; i < texts.size() && !prefix.empty(); ++i)
        prefix = texts[i].substr(0, commonPrefixLength(prefix, texts[i], options));
    return prefix;
}

} // namespace larkspan
