#pragma once

#include "base/Bytes.h"
#include "base/Error.h"
#include "imaging/Image.h"

#include <cstdint>
#include <optional>
#include <string>

namespace larkspan {

// Truevision TGA pictures: colour-mapped (types 1 and 9), true-colour (2 and
// 10) and grey (3 and 11), raw or run-length encoded, any of the four origins,
// with or without the TGA 2.0 footer.
struct TGAInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned bitsPerPixel = 0; // as stored: 8 for a colour-mapped picture with 8-bit indices
};

// From the header alone; the pixel data is not looked at. Failures are the
// Tga… codes of ErrorCode.
Result<TGAInfo> readTGAInfo(ByteSpan bytes);

// An RGBA8 picture, row 0 at the top, not flipped. 15-bit pixels are opaque,
// 16-bit ones take their top bit as alpha when the descriptor gives them an
// attribute bit, 32-bit ones carry 8 bits of alpha.
Result<Image> decodeTGA(ByteSpan bytes);

} // namespace larkspan
