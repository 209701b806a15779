#include "format/ParallelCompression.h"

#include "format/EntryCompression.h"

#include <optional>
#include <vector>

namespace larkspan {

namespace {

// One segment of one entry at the packer's cut. An empty entry has one
// piece without input, so that it too is taken in its turn.
struct Piece {
    std::size_t entry;
    ByteSpan input;
    bool lastOfEntry;
};

std::vector<Piece> piecesOf(std::span<const ByteSpan> contents)
{
    std::vector<Piece> pieces;
    for (std::size_t entry = 0; entry < contents.size(); ++entry) {
        const std::vector<ByteSpan> inputs = segmentInputs(contents[entry], 0);
        if (inputs.empty())
            pieces.push_back({entry, {}, true});
        for (std::size_t i = 0; i < inputs.size(); ++i)
            pieces.push_back({entry, inputs[i], i + 1 == inputs.size()});
    }
    return pieces;
}

} // namespace

bool compressEntries(std::span<const ByteSpan> contents, CompressionLevel level, WorkerPool& pool,
                     const std::function<void(std::size_t entry, Bytes stored)>& take,
                     const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress)
{
    const std::vector<Piece> pieces = piecesOf(contents);
    std::uint64_t total = 0;
    for (const ByteSpan content : contents)
        total += content.size();

    std::vector<Lzo1xCompressor> compressors;
    for (unsigned worker = 0; worker < pool.size(); ++worker)
        compressors.emplace_back(level);
    std::vector<Bytes> streams(pieces.size());
    const auto work = [&](std::size_t piece, unsigned worker) {
        if (!pieces[piece].input.empty())
            compressors[worker].compress(pieces[piece].input, streams[piece]);
    };

    // Taken on this thread: the segments of an entry, once its last is in.
    Lzo1xCompressor recutter(level);
    std::size_t firstOfEntry = 0;
    const auto takeEntry = [&](std::size_t lastPiece) {
        const std::size_t entry = pieces[lastPiece].entry;
        const ByteSpan content = contents[entry];
        std::vector<ByteSpan> inputs;
        for (std::size_t i = firstOfEntry; i <= lastPiece; ++i)
            if (!pieces[i].input.empty())
                inputs.push_back(pieces[i].input);
        const std::span<const Bytes> entryStreams(streams.data() + firstOfEntry, inputs.size());
        std::optional<Bytes> stored = assembleEntry(content.size(), inputs, entryStreams);
        // The packer's cut came out exactly as long as the content: the
        // rare entry is cut again here, from the next cut on.
        take(entry, stored ? std::move(*stored) : compressEntry(content, recutter, 1));
        for (std::size_t i = firstOfEntry; i <= lastPiece; ++i)
            Bytes().swap(streams[i]);
        firstOfEntry = lastPiece + 1;
    };

    std::uint64_t done = 0;
    const auto takePiece = [&](std::size_t piece) {
        done += pieces[piece].input.size();
        if (pieces[piece].lastOfEntry)
            takeEntry(piece);
        return !progress || progress(done, total);
    };
    return pool.run(pieces.size(), work, takePiece);
}

} // namespace larkspan
