#include "format/Lzo1xCompressor.h"

#include "format/Lzo1xGreedyParser.h"
#include "format/Lzo1xOptimalParser.h"
#include "format/Lzo1xStreamWriter.h"

namespace larkspan {

struct Lzo1xCompressor::Workspace {
    lzo1x::GreedyParser greedy;
    lzo1x::OptimalParser optimal;
    // Written first, then copied out: cheaper than zero-filling a vector to the bound.
    std::unique_ptr<std::uint8_t[]> out;
    std::size_t outLength = 0;
};

Lzo1xCompressor::Lzo1xCompressor(CompressionLevel level) : level_(level), workspace_(std::make_unique<Workspace>()) {}

Lzo1xCompressor::~Lzo1xCompressor() = default;
Lzo1xCompressor::Lzo1xCompressor(Lzo1xCompressor&&) noexcept = default;
Lzo1xCompressor& Lzo1xCompressor::operator=(Lzo1xCompressor&&) noexcept = default;

Bytes Lzo1xCompressor::compress(ByteSpan input)
{
    Bytes stream;
    compress(input, stream);
    return stream;
}

void Lzo1xCompressor::compress(ByteSpan input, Bytes& stream)
{
    Workspace& work = *workspace_;
    const std::size_t room = bound(input.size());
    if (work.outLength < room) {
        work.out = std::make_unique_for_overwrite<std::uint8_t[]>(room);
        work.outLength = room;
    }
    const std::size_t length = compress(input, work.out.get());
    stream.assign(work.out.get(), work.out.get() + length);
}

std::size_t Lzo1xCompressor::bound(std::size_t inputLength)
{
    return lzo1x::streamBound(inputLength);
}

std::size_t Lzo1xCompressor::compress(ByteSpan input, std::uint8_t* out)
{
    return level_ == CompressionLevel::Fast ? workspace_->greedy.compress(input, out)
                                            : workspace_->optimal.compress(input, out);
}

} // namespace larkspan
