#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <memory>

namespace larkspan {

enum class CompressionLevel : std::uint8_t {
    Fast, // greedy, one hash probe per position
    Best, // the cheapest parse over all matches found
};

// Writes LZO1X streams, each ending with the end marker 11 00 00. The output
// depends on the input and the level only. An object keeps its working memory
// between calls, so a worker thread can reuse one across segments; separate
// objects may work on separate threads at once.
class Lzo1xCompressor {
public:
    explicit Lzo1xCompressor(CompressionLevel level);
    ~Lzo1xCompressor();
    Lzo1xCompressor(Lzo1xCompressor&&) noexcept;
    Lzo1xCompressor& operator=(Lzo1xCompressor&&) noexcept;

    Bytes compress(ByteSpan input);
    // Replaces the contents of `stream`, reusing its capacity.
    void compress(ByteSpan input, Bytes& stream);

    // The most bytes a stream of `inputLength` bytes of input can take.
    static std::size_t bound(std::size_t inputLength);
    // Writes the stream into `out`, which has room for bound(input.size())
    // bytes; returns its length.
    std::size_t compress(ByteSpan input, std::uint8_t* out);

    struct Workspace;

private:
    CompressionLevel level_;
    std::unique_ptr<Workspace> workspace_;
};

} // namespace larkspan
