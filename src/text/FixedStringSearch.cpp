#include "text/FixedStringSearch.h"

#include "base/StringAdditions.h"

#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace larkspan {

namespace {

// A folded byte whose upper case differs from it only by 0x20: a to z, and
// à to þ but ÷ (ß and ÿ have no upper case in Latin-1).
bool hasTwoCases(std::uint8_t folded)
{
    return (folded >= 'a' && folded <= 'z') || (folded >= 0xE0 && folded <= 0xFE && folded != 0xF7);
}

} // namespace

FixedStringSearch::FixedStringSearch(ByteSpan needle, bool ignoreCase) : needle_(needle.begin(), needle.end())
{
    for (unsigned c = 0; c < 256; ++c)
        fold_[c] = static_cast<std::uint8_t>(ignoreCase ? foldCase(c) : c);
    for (std::uint8_t& c : needle_)
        c = fold_[c];
    if (needle_.empty())
        return;
    lastAt_ = needle_.size() - 1;
    const auto maskOf = [&](std::uint8_t c) { return std::uint8_t(ignoreCase && hasTwoCases(c) ? 0x20 : 0); };
    firstByte_ = needle_.front();
    firstMask_ = maskOf(firstByte_);
    lastByte_ = needle_.back();
    lastMask_ = maskOf(lastByte_);
}

std::size_t FixedStringSearch::find(ByteSpan text, std::size_t from) const
{
    if (needle_.empty())
        return from;
    if (text.size() < needle_.size() || from > text.size() - needle_.size())
        return text.size();
#if defined(__SSE2__) || defined(_M_X64)
    return findSixteenAtOnce(text, from);
#else
    return findOneByOne(text, from);
#endif
}

bool FixedStringSearch::matchesAt(const std::uint8_t* at) const
{
    for (std::size_t i = 0; i < needle_.size(); ++i)
        if (fold_[at[i]] != needle_[i])
            return false;
    return true;
}

std::size_t FixedStringSearch::findOneByOne(ByteSpan text, std::size_t from) const
{
    const std::uint8_t* bytes = text.data();
    for (std::size_t at = from; at + lastAt_ < text.size(); ++at)
        if ((bytes[at] | firstMask_) == firstByte_ && (bytes[at + lastAt_] | lastMask_) == lastByte_ &&
            matchesAt(bytes + at))
            return at;
    return text.size();
}

#if defined(__SSE2__) || defined(_M_X64)
// Sixteen places screened at once by the needle's first and last byte; the
// few that pass are compared whole. The end, shorter than sixteen places,
// goes one by one.
std::size_t FixedStringSearch::findSixteenAtOnce(ByteSpan text, std::size_t from) const
{
    const std::uint8_t* bytes = text.data();
    const __m128i firstByte = _mm_set1_epi8(static_cast<char>(firstByte_));
    const __m128i firstMask = _mm_set1_epi8(static_cast<char>(firstMask_));
    const __m128i lastByte = _mm_set1_epi8(static_cast<char>(lastByte_));
    const __m128i lastMask = _mm_set1_epi8(static_cast<char>(lastMask_));
    std::size_t at = from;
    for (; at + lastAt_ + 16 <= text.size(); at += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + lastAt_));
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(first, firstMask), firstByte),
                                            _mm_cmpeq_epi8(_mm_or_si128(last, lastMask), lastByte))));
        for (; candidates != 0; candidates &= candidates - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(candidates));
            if (matchesAt(bytes + candidate))
                return candidate;
        }
    }
    return findOneByOne(text, at);
}
#endif

} // namespace larkspan
