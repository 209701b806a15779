#pragma once

// Finding the lines of a text entry that contain a pattern, as grep does.
// Entries hold Latin-1, one byte per character, so the pattern is turned
// into Latin-1 and matched against the bytes; ignoring case folds the
// Latin-1 letters (É matches é), not only A to Z.

#include "base/Bytes.h"
#include "text/FixedStringSearch.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// std::regex_traits whose case folding knows the Latin-1 letters.
struct Latin1RegexTraits : std::regex_traits<char> {
    char translate_nocase(char c) const;
};

struct MatchOptions {
    bool ignoreCase = false;
    bool fixedString = false; // the pattern is text, not a regular expression
};

class LineMatcher {
public:
    // `pattern` in UTF-8: an ECMAScript regular expression, or a fixed
    // string. std::regex_error when the expression is not valid.
    LineMatcher(std::string_view pattern, MatchOptions options);

    // Hands each line of `text` that contains the pattern to `found` (its
    // number from 1, and the line without its line break), in order; with
    // `firstOnly`, only the first. Returns how many were found.
    using LineFound = std::function<void(std::size_t number, std::string_view line)>;
    std::size_t scan(ByteSpan text, bool firstOnly, const LineFound& found) const;

private:
    using Expression = std::basic_regex<char, Latin1RegexTraits>;

    std::size_t scanAround(ByteSpan text, bool firstOnly, const LineFound& found) const;
    std::size_t scanEveryLine(ByteSpan text, bool firstOnly, const LineFound& found) const;

    bool holdsTheOtherLiterals(std::string_view line) const;

    // Neither when the pattern holds a character no Latin-1 text can.
    // `literal_` is the fixed string itself, or the longest part of the
    // expression that every match contains: only the lines that hold it,
    // and the other such parts, are tried.
    std::optional<FixedStringSearch> literal_;
    std::vector<FixedStringSearch> otherLiterals_;
    std::optional<Expression> expression_;
};

} // namespace larkspan
