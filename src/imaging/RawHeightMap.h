#pragma once

#include "base/Bytes.h"
#include "imaging/Image.h"

#include <optional>

namespace larkspan {

// A headerless square grey height map: 16-bit little-endian samples when
// the length allows a square of them (2·s·s ≥ length, s = ⌊√⌊length/2⌋⌋ in
// single precision), otherwise 8-bit samples of side ⌊√length⌋. Bytes past
// the square are ignored. The picture is marked flipped: the first stored
// row belongs at the bottom.
std::optional<Image> decodeRawHeightMap(ByteSpan bytes);

struct RawHeightMapShape {
    std::uint32_t side;
    bool sixteenBit;
};
// The shape a map of that many bytes has; nothing when it has no pixel.
std::optional<RawHeightMapShape> rawHeightMapShape(std::uint64_t length);

} // namespace larkspan
