#include "format/EntryCompression.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace larkspan {

namespace {

constexpr std::size_t kTableEntryLength = 12;

// The packer's empty file: one segment declaring size 0, whose four bytes
// are not an LZO1X stream and are never decoded.
constexpr std::uint8_t kEmptyFileStream[] = {0x11, 0x11, 0x00, 0x00};

std::uint32_t checked32(std::uint64_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("compressed entry of 4 GiB or more");
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::vector<ByteSpan> segmentInputs(ByteSpan content, std::size_t cut)
{
    std::vector<ByteSpan> inputs;
    if (content.empty())
        return inputs;
    const std::size_t packerFirst = std::min(content.size(), kSegmentInputLength);
    if (cut >= packerFirst)
        throw std::logic_error("no way left to cut the entry into segments");
    inputs.push_back(content.first(packerFirst - cut));
    for (std::size_t at = inputs.front().size(); at < content.size(); at += kSegmentInputLength)
        inputs.push_back(content.subspan(at, std::min(kSegmentInputLength, content.size() - at)));
    return inputs;
}

std::optional<Bytes> assembleEntry(std::size_t contentLength, std::span<const ByteSpan> inputs,
                                   std::span<const Bytes> streams)
{
    if (inputs.size() != streams.size())
        throw std::invalid_argument("one stream per segment input");
    const ByteSpan emptyFile(kEmptyFileStream);
    const bool empty = inputs.empty();
    const std::size_t count = empty ? 1 : inputs.size();
    std::uint64_t storedLength = 4 + kTableEntryLength * std::uint64_t(count);
    for (const Bytes& stream : streams)
        storedLength += stream.size();
    storedLength += empty ? emptyFile.size() : 0;
    if (storedLength == contentLength)
        return std::nullopt;
    checked32(storedLength);

    Bytes stored;
    stored.reserve(storedLength);
    appendLittleInt(stored, static_cast<std::uint32_t>(count));
    if (empty) {
        appendLittleInt(stored, static_cast<std::uint32_t>(emptyFile.size()));
        appendLittleInt(stored, 0);
        appendLittleInt(stored, 0);
        stored.insert(stored.end(), emptyFile.begin(), emptyFile.end());
        return stored;
    }
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < count; ++i) {
        appendLittleInt(stored, static_cast<std::uint32_t>(streams[i].size()));
        appendLittleInt(stored, static_cast<std::uint32_t>(inputs[i].size()));
        appendLittleInt(stored, offset);
        offset += static_cast<std::uint32_t>(streams[i].size());
    }
    for (const Bytes& stream : streams)
        stored.insert(stored.end(), stream.begin(), stream.end());
    return stored;
}

Bytes compressEntry(ByteSpan content, CompressionLevel level)
{
    Lzo1xCompressor compressor(level);
    return compressEntry(content, compressor);
}

Bytes compressEntry(ByteSpan content, Lzo1xCompressor& compressor, std::size_t firstCut)
{
    std::vector<Bytes> streams;
    for (std::size_t cut = firstCut;; ++cut) {
        const std::vector<ByteSpan> inputs = segmentInputs(content, cut);
        streams.resize(inputs.size());
        for (std::size_t i = 0; i < inputs.size(); ++i)
            compressor.compress(inputs[i], streams[i]);
        if (std::optional<Bytes> stored = assembleEntry(content.size(), inputs, streams))
            return std::move(*stored);
    }
}

} // namespace larkspan
