#include "cli/PieceScanner.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace larkspan::cli {

namespace {

// The line breaks in `bytes`. Every line of every entry is counted, matched
// or not, so the count goes sixteen bytes at a time where it can.
std::size_t lineBreaksIn(ByteSpan bytes)
{
    std::size_t count = 0, at = 0;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i lineBreak = _mm_set1_epi8('\n');
    while (at + 16 <= bytes.size()) {
        // Each byte of `found` counts the breaks at its place, up to 255
        // blocks; the sums of absolute differences then add them up.
        __m128i found = _mm_setzero_si128();
        for (int block = 0; block < 255 && at + 16 <= bytes.size(); ++block, at += 16) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
            found = _mm_sub_epi8(found, _mm_cmpeq_epi8(sixteen, lineBreak));
        }
        const __m128i sums = _mm_sad_epu8(found, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    return count + static_cast<std::size_t>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), '\n'));
}

} // namespace

bool PieceScanner::feed(ByteSpan piece)
{
    const auto lastBreak = std::find(piece.rbegin(), piece.rend(), '\n');
    if (lastBreak == piece.rend()) {
        pending_.insert(pending_.end(), piece.begin(), piece.end());
        return true;
    }
    const auto wholeLength = static_cast<std::size_t>(piece.rend() - lastBreak);
    ByteSpan whole = piece.first(wholeLength);
    if (!pending_.empty()) {
        // The line the earlier pieces began ends in this one: searched
        // joined, the rest of the piece where it lies.
        const auto firstLength = static_cast<std::size_t>(std::find(piece.begin(), piece.end(), '\n') - piece.begin()) + 1;
        pending_.insert(pending_.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(firstLength));
        scanLines(pending_);
        pending_.clear();
        whole = whole.subspan(firstLength);
    }
    if (!done())
        scanLines(whole);
    pending_.assign(piece.begin() + static_cast<std::ptrdiff_t>(wholeLength), piece.end());
    return !done();
}

void PieceScanner::finish()
{
    if (!pending_.empty() && !done())
        scanLines(pending_);
    pending_.clear();
}

void PieceScanner::scanLines(ByteSpan lines)
{
    count_ += matcher_.scan(lines, firstOnly_, [&](std::size_t number, std::string_view line) {
        found_(linesBefore_ + number, line);
    });
    // Numbers are only printed where every match is wanted.
    if (!firstOnly_)
        linesBefore_ += lineBreaksIn(lines);
}

} // namespace larkspan::cli
