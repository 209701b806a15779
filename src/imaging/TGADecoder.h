#pragma once

#include "base/Bytes.h"
#include "imaging/Image.h"

#include <cstdint>
#include <optional>
#include <string>

namespace larkspan {

// Truevision TGA pictures: colour-mapped (types 1 and 9), true-colour (2 and
// 10) and grey (3 and 11), raw or run-length encoded, any of the four origins,
// with or without the TGA 2.0 footer.
enum class TGAFailure {
    TruncatedHeader,       // fewer than the 18 header bytes, or the image ID cut short
    UnsupportedImageType,  // not 1, 2, 3, 9, 10 or 11 (0 holds no picture)
    UnsupportedColourMap,  // a colour map type other than 0 or 1, a map missing from a
                           // colour-mapped picture, or map entries not 15, 16, 24 or 32 bits
    UnsupportedPixelDepth, // a pixel size the image type does not have
    EmptyPicture,          // width or height 0
    TruncatedColourMap,
    TruncatedPixelData,
    IndexOutsideColourMap,
    OutOfMemory,           // a picture whose (run-length encoded) data is all there, but too big to hold
};

struct TGAError {
    TGAFailure failure;
    std::string message;
};

struct TGAInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned bitsPerPixel = 0; // as stored: 8 for a colour-mapped picture with 8-bit indices
};

// From the header alone; the pixel data is not looked at.
std::optional<TGAInfo> readTGAInfo(ByteSpan bytes, TGAError* error = nullptr);

// An RGBA8 picture, row 0 at the top, not flipped. 15-bit pixels are opaque,
// 16-bit ones take their top bit as alpha when the descriptor gives them an
// attribute bit, 32-bit ones carry 8 bits of alpha.
std::optional<Image> decodeTGA(ByteSpan bytes, TGAError* error = nullptr);

} // namespace larkspan
