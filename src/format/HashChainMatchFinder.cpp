#include "format/HashChainMatchFinder.h"

#include "format/MatchLength.h"

#include <algorithm>
#include <bit>

namespace larkspan::lzo1x {

namespace {

constexpr std::uint32_t kNone = 0xffffffff;

} // namespace

void HashChainMatchFinder::reset(ByteSpan input, unsigned maxDepth, std::size_t enoughLength, std::size_t maxDistance)
{
    data_ = input.data();
    maxDepth_ = maxDepth;
    enoughLength_ = enoughLength;
    maxDistance_ = maxDistance;
    // Up to two slots per position, so that a short input has little to clear.
    hashBits_ = std::clamp(static_cast<unsigned>(std::bit_width(input.size())) + 1, 8u, 16u);
    // With 16 bits every pair has a slot of its own.
    pairMultiplier_ = hashBits_ == 16 ? 1u << 16 : 0x9E3779B1U;
    pairs_.assign(std::size_t(1) << hashBits_, kNone);
    triples_.assign(std::size_t(1) << hashBits_, kNone);
    heads_.assign(std::size_t(1) << hashBits_, kNone);
    if (chain_.size() < input.size())
        chain_.resize(input.size());
}

void HashChainMatchFinder::insert(std::size_t position, std::size_t lengthLimit)
{
    pairs_[pairSlot(position)] = static_cast<std::uint32_t>(position);
    if (lengthLimit >= 3)
        triples_[tripleSlot(position)] = static_cast<std::uint32_t>(position);
    if (lengthLimit >= 4) {
        std::uint32_t& head = heads_[quadSlot(position)];
        chain_[position] = head;
        head = static_cast<std::uint32_t>(position);
    }
}

std::size_t HashChainMatchFinder::insertAndFind(std::size_t position, std::size_t lengthLimit, Match* matches)
{
    const std::uint8_t* const current = data_ + position;
    const std::uint8_t* const limit = current + lengthLimit;
    std::size_t found = 0;
    std::size_t longest = 1;
    const auto consider = [&](std::uint32_t candidate) {
        const std::size_t length = matchLength(current, data_ + candidate, 0, limit);
        if (length > longest) {
            longest = length;
            matches[found++] = {static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(position - candidate)};
        }
    };
    // The nearest position of the same pair and of the same three bytes: the
    // chain may hold neither.
    const auto nearest = [&](std::uint32_t& slot) {
        if (slot != kNone && position - slot <= maxDistance_ && longest < lengthLimit &&
            data_[slot + longest] == current[longest])
            consider(slot);
        slot = static_cast<std::uint32_t>(position);
    };
    nearest(pairs_[pairSlot(position)]);
    if (lengthLimit >= 3)
        nearest(triples_[tripleSlot(position)]);
    if (lengthLimit < 4)
        return found;
    std::uint32_t& head = heads_[quadSlot(position)];
    std::uint32_t candidate = head;
    chain_[position] = head;
    head = static_cast<std::uint32_t>(position);
    for (unsigned depth = maxDepth_; depth > 0 && longest < lengthLimit && longest < enoughLength_; --depth) {
        if (candidate == kNone || position - candidate > maxDistance_)
            break;
        // A candidate can only beat the longest so far if it agrees at its end.
        if (data_[candidate + longest] == current[longest])
            consider(candidate);
        candidate = chain_[candidate];
    }
    return found;
}

} // namespace larkspan::lzo1x
