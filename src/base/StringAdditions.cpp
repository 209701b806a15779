#include "base/StringAdditions.h"

#include "base/Latin1.h"

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
