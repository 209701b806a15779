#pragma once

// Finding a fixed string in Latin-1 text, with or without regard to case,
// without folding the text first: a search over a whole archive's scripts
// spends most of its time here when it folds every byte.

#include "base/Bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace larkspan {

class FixedStringSearch {
public:
    // `needle` in Latin-1. Ignoring case, a letter matches its other case as
    // foldCase pairs them (É matches é, not e).
    FixedStringSearch(ByteSpan needle, bool ignoreCase);

    // Where the needle first starts at or after `from`; the text's size when
    // nowhere. An empty needle is found at `from`.
    std::size_t find(ByteSpan text, std::size_t from) const;

private:
    bool matchesAt(const std::uint8_t* at) const;
    std::size_t findOneByOne(ByteSpan text, std::size_t from) const;
#if defined(__SSE2__) || defined(_M_X64)
    std::size_t findSixteenAtOnce(ByteSpan text, std::size_t from) const;
#endif

    Bytes needle_; // folded when case is ignored
    std::array<std::uint8_t, 256> fold_{}; // the identity when case matters
    // Two of the needle's bytes screen the places a match may start: a byte
    // of the text, or-ed with its mask, must equal the needle's byte there.
    // The mask is 0x20 for a letter with two cases (both cases then meet),
    // zero for any other byte.
    std::size_t lastAt_ = 0;
    std::uint8_t firstByte_ = 0, firstMask_ = 0, lastByte_ = 0, lastMask_ = 0;
};

} // namespace larkspan
