#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace larkspan::bench {

// Segments as the game's packer cuts an entry: 32 KiB of content each.
inline constexpr std::size_t kSegmentSize = 32 * 1024;

struct LzoSegment {
    Bytes stream;       // lzo1x_999 output
    std::uint32_t size; // bytes it decodes to
};

// `content` cut into segments and compressed with liblzo2's lzo1x_999 (on all
// cores: it runs at a few MB/s). The result is cached in `cacheDirectory`
// under the content's checksum, so later runs skip the compression.
std::vector<LzoSegment> compressedSegments(ByteSpan content, const std::filesystem::path& cacheDirectory);

// Each piece cut into segments of its own (its last one shorter) and
// compressed the same way, all pieces at once on all cores; not cached.
std::vector<std::vector<LzoSegment>> compressPieces(const std::vector<ByteSpan>& pieces);

} // namespace larkspan::bench
