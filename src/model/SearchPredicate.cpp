#include "model/SearchPredicate.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"

#include <algorithm>
#include <memory>

namespace larkspan {

namespace {

constexpr std::array<std::uint8_t, 256> makeFoldTable()
{
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<std::uint8_t>(c + 32);
    const auto map = [&](int from, int to, char base) {
        for (int c = from; c <= to; ++c)
            table[c] = static_cast<std::uint8_t>(base);
    };
    map(0xC0, 0xC5, 'a'), map(0xE0, 0xE5, 'a');
    map(0xC7, 0xC7, 'c'), map(0xE7, 0xE7, 'c');
    map(0xC8, 0xCB, 'e'), map(0xE8, 0xEB, 'e');
    map(0xCC, 0xCF, 'i'), map(0xEC, 0xEF, 'i');
    map(0xD1, 0xD1, 'n'), map(0xF1, 0xF1, 'n');
    map(0xD2, 0xD6, 'o'), map(0xF2, 0xF6, 'o');
    map(0xD9, 0xDC, 'u'), map(0xF9, 0xFC, 'u');
    map(0xDD, 0xDD, 'y'), map(0xFD, 0xFD, 'y'), map(0xFF, 0xFF, 'y');
    // Letters of their own: only the case goes.
    for (int c : {0xC6, 0xD0, 0xD8, 0xDE})
        table[c] = static_cast<std::uint8_t>(c + 32);
    return table;
}

constexpr std::array<std::uint8_t, 256> kFold = makeFoldTable();

char32_t foldCodePoint(char32_t c)
{
    return c <= 0xFF ? kFold[c] : foldCase(c);
}

bool sameFolded(char16_t unit, char32_t folded)
{
    return foldCodePoint(unit) == folded;
}

} // namespace

std::uint8_t foldForSearch(std::uint8_t latin1)
{
    return kFold[latin1];
}

FoldedPattern::FoldedPattern(std::string_view needleUtf8)
{
    for (std::size_t pos = 0; pos < needleUtf8.size();) {
        const char32_t c = foldCodePoint(nextCodePoint(needleUtf8, pos));
        needle_.push_back(c);
        if (c > 0xFF)
            latin1Searchable_ = false;
        latin1Needle_.push_back(static_cast<std::uint8_t>(c));
    }
    // Horspool's shift for the folded byte at the end of the window.
    const std::size_t m = latin1Needle_.size();
    skip_.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i)
        skip_[latin1Needle_[i]] = m - 1 - i;
}

bool FoldedPattern::foundInLatin1(ByteSpan haystack) const
{
    return findInLatin1(haystack) < haystack.size();
}

std::size_t FoldedPattern::findInLatin1(ByteSpan haystack, std::size_t from) const
{
    const std::size_t m = latin1Needle_.size();
    if (!latin1Searchable_ || m == 0 || haystack.size() < m)
        return haystack.size();
    const std::uint8_t last = latin1Needle_[m - 1];
    const std::uint8_t* h = haystack.data();
    for (std::size_t at = from; at + m <= haystack.size();) {
        const std::uint8_t end = kFold[h[at + m - 1]];
        if (end == last) {
            std::size_t i = 0;
            while (i + 1 < m && kFold[h[at + i]] == latin1Needle_[i])
                ++i;
            if (i + 1 >= m)
                return at;
        }
        at += skip_[end];
    }
    return haystack.size();
}

bool FoldedPattern::foundInUtf8(std::string_view haystack) const
{
    if (needle_.empty())
        return false;
    std::vector<char32_t> folded;
    folded.reserve(haystack.size());
    for (std::size_t pos = 0; pos < haystack.size();)
        folded.push_back(foldCodePoint(nextCodePoint(haystack, pos)));
    return std::search(folded.begin(), folded.end(), needle_.begin(), needle_.end()) != folded.end();
}

std::optional<std::size_t> FoldedPattern::firstIn(std::u16string_view text, std::size_t from) const
{
    if (needle_.empty() || from > text.size())
        return std::nullopt;
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle_.begin(),
                                   needle_.end(), sameFolded);
    if (found == text.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - text.begin());
}

std::optional<std::size_t> FoldedPattern::lastIn(std::u16string_view text, std::size_t before) const
{
    if (needle_.empty() || before == 0)
        return std::nullopt;
    // A match starting before `before` ends before before - 1 + length.
    const std::u16string_view head = text.substr(0, std::min(text.size(), before - 1 + needle_.size()));
    const auto found = std::find_end(head.begin(), head.end(), needle_.begin(), needle_.end(), sameFolded);
    if (found == head.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - head.begin());
}

bool entryMatches(const FoldedPattern& pattern, std::string_view name, const Bytes* text, bool searchNames,
                  bool searchContents)
{
    if (searchNames && pattern.foundInUtf8(name))
        return true;
    return searchContents && text && pattern.foundInLatin1(*text);
}

RFATreeNode::Predicate searchPredicate(std::string_view text, bool searchNames, bool searchContents)
{
    auto pattern = std::make_shared<const FoldedPattern>(text);
    if (pattern->empty() || (!searchNames && !searchContents))
        return [](const RFATreeNode&) { return false; };
    return [pattern, searchNames, searchContents](const RFATreeNode& node) {
        const Bytes* text = searchContents && node.isText() ? node.data().get() : nullptr;
        return entryMatches(*pattern, node.name(), text, searchNames, searchContents);
    };
}

} // namespace larkspan
