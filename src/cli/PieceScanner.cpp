#include "cli/PieceScanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace larkspan::cli {

namespace {

// The line breaks in `bytes`, eight at a time: std::count goes byte by byte.
std::size_t lineBreaksIn(ByteSpan bytes)
{
    constexpr std::uint64_t kBreaks = 0x0A0A0A0A0A0A0A0Aull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
    std::size_t count = 0, at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        const std::uint64_t x = word ^ kBreaks; // a zero byte where a break was
        // The top bit of each byte of `nonzero` is set where x's byte is not zero.
        const std::uint64_t nonzero = ((x & kLow7) + kLow7) | x;
        // One bit per break, each at the bottom of its byte, summed into the top byte
        // by one multiplication (a popcount instruction is not there on every processor).
        count += static_cast<std::size_t>((((~nonzero & ~kLow7) >> 7) * 0x0101010101010101ull) >> 56);
    }
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
