#pragma once

#include "format/Lzo1xCompressor.h"
#include "base/Bytes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace larkspan {

// Content is compressed in segments of this much input, as the game's packer cuts it.
inline constexpr std::size_t kSegmentInputLength = 32 * 1024;

// The stored bytes of a compressed entry: the segment table, then each
// segment's LZO1X stream, in order and back to back. Their length never
// equals the content's, which a reader would take for raw bytes.
Bytes compressEntry(ByteSpan content, CompressionLevel level);
// The same with the caller's compressor, trying cuts from `firstCut` on.
Bytes compressEntry(ByteSpan content, Lzo1xCompressor& compressor, std::size_t firstCut = 0);

// The same in steps, for compressing the segments on several threads:
//
//   for (std::size_t cut = 0;; ++cut) {
//       const auto inputs = segmentInputs(content, cut);
//       ... streams[i] = compressor.compress(inputs[i]) ...
//       if (auto stored = assembleEntry(content.size(), inputs, streams))
//           return *stored;
//   }
//
// `cut` 0 is the packer's cut; each further one makes the first segment one
// byte shorter. An empty content has no segment to compress. Throws
// std::logic_error when the first segment has no byte left to give, which no
// content reaches: only content that compresses can come out as short as
// itself, and such content is long enough to have many cuts to try.
std::vector<ByteSpan> segmentInputs(ByteSpan content, std::size_t cut);

// The stored bytes, or nothing when they would be exactly as long as the
// content (then cut it again).
std::optional<Bytes> assembleEntry(std::size_t contentLength, std::span<const ByteSpan> inputs,
                                   std::span<const Bytes> streams);

} // namespace larkspan
