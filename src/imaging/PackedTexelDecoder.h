#pragma once

#include "imaging/DDSLevelGeometry.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace larkspan {

// Decodes a level of uncompressed texels (formats A1R5G5B5 to A8R8G8B8,
// exactly ddsLevelByteCount bytes) of `size` texels into RGBA rows starting
// at `rgba`. Each n-bit component becomes the 8-bit value nearest to
// c · 255 / (2^n − 1); formats without alpha get alpha 255.
void decodePackedLevel(DDSDataFormat format, std::span<const std::uint8_t> level, DDSLevelSize size,
                       std::uint8_t* rgba, std::size_t bytesPerRow);

} // namespace larkspan
