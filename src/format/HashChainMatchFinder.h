#pragma once

#include "format/MatchLength.h"
#include "base/Bytes.h"

#include <cstdint>
#include <vector>

namespace larkspan::lzo1x {

struct Match {
    std::uint32_t length;
    std::uint32_t distance;
};

// Earlier positions chained by a hash of their first four bytes, newest
// first, and the newest position of each pair of bytes (of each hash of a
// pair, in short inputs) and of each hash of three bytes. A search looks at
// the newest pair and triple, then walks the chain from the nearest position
// on, and reports each match longer than all nearer ones.
class HashChainMatchFinder {
public:
    // Starts over on `input`. A walk visits at most `maxDepth` positions of
    // the chain and ends early at a match of `enoughLength`; a match reaches
    // at most `maxDistance` back.
    void reset(ByteSpan input, unsigned maxDepth, std::size_t enoughLength, std::size_t maxDistance);

    // Adds `position` and writes to `matches`, by increasing length from 2
    // up to `lengthLimit`, the nearest match found of each length that beats
    // the one before; returns how many. `matches` has room for maxDepth + 2
    // entries; `lengthLimit` is at least 2 and at most the bytes left from
    // `position`.
    std::size_t insertAndFind(std::size_t position, std::size_t lengthLimit, Match* matches);

    // Adds `position` only.
    void insert(std::size_t position, std::size_t lengthLimit);

private:
    std::size_t pairSlot(std::size_t position) const
    {
        return ((data_[position] | data_[position + 1] << 8) * pairMultiplier_) >> (32 - hashBits_);
    }
    std::size_t tripleSlot(std::size_t position) const
    {
        return ((data_[position] | data_[position + 1] << 8 | data_[position + 2] << 16) * 0x9E3779B1U) >>
               (32 - hashBits_);
    }
    std::size_t quadSlot(std::size_t position) const { return (load32(data_ + position) * 0x9E3779B1U) >> (32 - hashBits_); }

    const std::uint8_t* data_ = nullptr;
    unsigned maxDepth_ = 0;
    std::size_t enoughLength_ = 0;
    std::size_t maxDistance_ = 0;
    unsigned hashBits_ = 0;
    std::uint32_t pairMultiplier_ = 0;
    std::vector<std::uint32_t> pairs_;
    std::vector<std::uint32_t> triples_;
    std::vector<std::uint32_t> heads_;
    std::vector<std::uint32_t> chain_;
};

} // namespace larkspan::lzo1x
