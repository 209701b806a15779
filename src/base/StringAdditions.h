#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

enum class StringCompareOptions { Literal, CaseInsensitive };

// Lower case for the Latin-1 range, the only characters archive names carry;
// other code points are returned unchanged. Inline and branch-free, so that
// a loop folding a whole text runs many bytes at a time.
constexpr char32_t foldCase(char32_t c)
{
    const bool upper = (c - U'A' <= U'Z' - U'A') || (c - 0xC0u <= 0xDEu - 0xC0u && c != 0xD7);
    return c + (upper ? 0x20 : 0);
}

bool isCaseInsensitiveEqual(std::string_view a, std::string_view b);

// The text with every character folded: a key under which names that
// differ only in case meet (the game's file names and entry paths).
std::string foldedCopy(std::string_view utf8);

// The common prefix of all the texts, each step spelled as in the later
// text; nothing for an empty list.
std::optional<std::string> commonPrefixWithOptions(const std::vector<std::string>& texts,
                                                   StringCompareOptions options);

} // namespace larkspan
