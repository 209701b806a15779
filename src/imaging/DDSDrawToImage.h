#pragma once

#include "imaging/DDSImage.h"
#include "imaging/OpenDDSFile.h"

#include <cstdint>
#include <optional>

namespace larkspan {

// The largest side DDSCreateImage draws, that of the largest 2D texture the
// graphics hardware of the file format's era (and since) accepts.
inline constexpr std::uint32_t kDDSLargestImageSide = 16384;

// The top level as an RGBA image of width × height pixels: pixel (x, y) is
// texel (x, y) when the size is the texture's own, otherwise the texture is
// stretched over the image (linear filtering, repeat wrapping). Opaque white
// when the top level's bytes are missing from the file. Nothing for a null
// handle, a side of 0 or above kDDSLargestImageSide, or when memory runs out.
std::optional<DDSImage> DDSCreateImage(const DDSFile* dds, std::uint32_t width, std::uint32_t height);

} // namespace larkspan
