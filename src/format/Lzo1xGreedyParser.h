#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <vector>

namespace larkspan::lzo1x {

// The fast level: one hash probe per position, the first match of four bytes
// or more taken at once, and ever longer strides through bytes that do not
// match.
class GreedyParser {
public:
    // Writes the stream into `out` (room for streamBound(input.size()) bytes);
    // returns its length.
    std::size_t compress(ByteSpan input, std::uint8_t* out);

private:
    std::vector<std::uint16_t> table_;
};

} // namespace larkspan::lzo1x
