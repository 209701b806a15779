#pragma once

#include "base/Bytes.h"
#include "model/RFATreeNode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// Latin-1 character folded for searching: lower case, accents dropped
// (É, é, È → e; Ç → c). Letters without a decomposition (Æ, Ø, ß) only
// lose their case.
std::uint8_t foldForSearch(std::uint8_t latin1);

// A substring test that ignores case and diacritics (CONTAINS[cd]), built
// once per search. Contents are searched in their Latin-1 bytes directly,
// with no text decoding per entry.
class FoldedPattern {
public:
    explicit FoldedPattern(std::string_view needleUtf8);

    bool empty() const { return needle_.empty(); }
    // How many bytes of Latin-1 text a match takes; 0 when none can match.
    std::size_t latin1Length() const { return latin1Searchable_ ? latin1Needle_.size() : 0; }
    bool foundInLatin1(ByteSpan haystack) const;
    // Where the first match at or after `from` starts; the haystack's size
    // when there is none.
    std::size_t findInLatin1(ByteSpan haystack, std::size_t from = 0) const;
    bool foundInUtf8(std::string_view haystack) const;
    // Where a match starts in a text of UTF-16 units, each one character (a
    // text editor's, which holds no surrogate pairs): the first at or after
    // `from`, or the last that starts before `before`. A match takes
    // length() units.
    std::optional<std::size_t> firstIn(std::u16string_view text, std::size_t from) const;
    std::optional<std::size_t> lastIn(std::u16string_view text, std::size_t before) const;
    std::size_t length() const { return needle_.size(); }

private:
    std::vector<char32_t> needle_; // folded code points
    // The needle as folded Latin-1 bytes; unusable (false) when it holds a
    // character no Latin-1 text can contain.
    bool latin1Searchable_ = true;
    std::vector<std::uint8_t> latin1Needle_;
    std::array<std::size_t, 256> skip_{};
};

// The rule for one entry: its own name contains the text (when names are
// searched), or its text does (when contents are searched; `text` is a text
// entry's bytes, null for any other entry).
bool entryMatches(const FoldedPattern& pattern, std::string_view name, const Bytes* text, bool searchNames,
                  bool searchContents);

// The search rule: nothing matches an empty text or when neither names nor
// contents are searched; otherwise the entry's own name and/or the contents
// of text entries contain the text.
RFATreeNode::Predicate searchPredicate(std::string_view text, bool searchNames, bool searchContents);

} // namespace larkspan
