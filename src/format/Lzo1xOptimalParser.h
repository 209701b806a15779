#pragma once

#include "format/HashChainMatchFinder.h"
#include "base/Bytes.h"

#include <cstdint>
#include <vector>

namespace larkspan::lzo1x {

// The best level: the cheapest sequence of literals and matches, in exact
// bytes, over the matches found at every position.
class OptimalParser {
public:
    // Writes the stream into `out` (room for streamBound(input.size()) bytes);
    // returns its length.
    std::size_t compress(ByteSpan input, std::uint8_t* out);

    // The cheapest way found to end a match at a position.
    struct Arrival {
        std::uint32_t cost;     // bytes of the stream up to here
        std::uint32_t length;   // of the match that ends here
        std::uint32_t distance; // of that match
        std::uint32_t literals; // between the previous match and this one
    };

private:
    void parse(ByteSpan input);
    std::size_t write(ByteSpan input, std::uint8_t* out);

    HashChainMatchFinder finder_;
    std::vector<Match> matches_;
    std::vector<Arrival> arrivals_; // one per position, 0 being the start
    std::uint32_t finalLiterals_ = 0;
    std::vector<std::uint32_t> matchEnds_;
};

} // namespace larkspan::lzo1x
