#pragma once

#include "imaging/DDSLevelGeometry.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace larkspan {

// Decodes a level of DXT1, DXT3 or DXT5 blocks (exactly ddsLevelByteCount
// bytes) of `size` texels into RGBA rows starting at `rgba`. Blocks that hang
// over the right or bottom edge give only their texels inside the level.
void decodeDXTLevel(DDSDataFormat format, std::span<const std::uint8_t> level, DDSLevelSize size,
                    std::uint8_t* rgba, std::size_t bytesPerRow);

} // namespace larkspan
