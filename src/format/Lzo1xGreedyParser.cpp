#include "format/Lzo1xGreedyParser.h"

#include "format/Lzo1xStreamWriter.h"
#include "format/MatchLength.h"

#include <algorithm>
#include <cstddef>

namespace larkspan::lzo1x {

namespace {

// Table sizes: the large one for segments, the small one for short inputs,
// which it is quicker to clear for. Each is a constant in its own copy of the
// scanning loop. 4096 slots of two bytes stay in the first-level cache beside
// a 32 KiB segment: quicker than more slots, for about 1 % more output.
constexpr unsigned kHashBits = 12;
constexpr unsigned kShortInputHashBits = 10;
constexpr std::size_t kShortInput = 4096;
// The table holds 16-bit offsets from the start of a block, and a block is
// short enough that every match inside it is within reach.
constexpr std::size_t kBlockLength = kMaxDistance + 1;
// The last bytes are left as literals: a probe reads four bytes ahead, and a
// match found there would save next to nothing.
constexpr std::size_t kTail = 8;
constexpr std::size_t kMinMatch = 4;

template <unsigned Bits>
inline std::size_t hash(std::uint32_t fourBytes)
{
    return (fourBytes * 0x1824429dU) >> (32 - Bits);
}

// Writes the literals and matches of `input` but for the literals after the
// last match; returns where those begin.
template <unsigned HashBits>
const std::uint8_t* writeMatches(ByteSpan input, std::vector<std::uint16_t>& tableMemory, StreamWriter& writer)
{
    const std::uint8_t* const in = input.data();
    const std::uint8_t* const end = in + input.size();
    const std::uint8_t* literalsFrom = in;
    tableMemory.resize(std::size_t(1) << HashBits);
    std::uint16_t* const table = tableMemory.data();
    const std::uint8_t* const scanEnd = end - kTail;
    const std::uint8_t* ip = in;
    while (ip < scanEnd) {
        const std::uint8_t* const block = ip;
        const std::uint8_t* const blockEnd =
            scanEnd - block > std::ptrdiff_t(kBlockLength) ? block + kBlockLength : scanEnd;
        // Every slot points at the block's first position, so every
        // candidate lies before the position probing it.
        std::fill(table, table + tableMemory.size(), std::uint16_t(0));
        ++ip;
        while (ip < blockEnd) {
            const std::uint32_t bytes = load32(ip);
            std::uint16_t& slot = table[hash<HashBits>(bytes)];
            const std::uint8_t* const candidate = block + slot;
            slot = static_cast<std::uint16_t>(ip - block);
            if (load32(candidate) != bytes) [[likely]] {
                // The longer nothing has matched, the bigger the stride.
                ip += 1 + ((ip - literalsFrom) >> 5);
                continue;
            }
            const std::size_t length = matchLength(ip, candidate, kMinMatch, end);
            writer.literals(literalsFrom, static_cast<std::size_t>(ip - literalsFrom));
            writer.match(length, static_cast<std::size_t>(ip - candidate));
            ip += length;
            literalsFrom = ip;
        }
    }
    return literalsFrom;
}

} // namespace

std::size_t GreedyParser::compress(ByteSpan input, std::uint8_t* out)
{
    StreamWriter writer(input.data() + input.size(), out);
    const std::uint8_t* literalsFrom = input.data();
    if (input.size() >= kShortInput)
        literalsFrom = writeMatches<kHashBits>(input, table_, writer);
    else if (input.size() > kTail)
        literalsFrom = writeMatches<kShortInputHashBits>(input, table_, writer);
    writer.literals(literalsFrom, static_cast<std::size_t>(input.data() + input.size() - literalsFrom));
    return writer.finish();
}

} // namespace larkspan::lzo1x
