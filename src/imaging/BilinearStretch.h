#pragma once

#include "imaging/DDSImage.h"

#include <cstdint>

namespace larkspan {

// Stretches an RGBA texture over a width × height image with linear
// filtering and repeat wrapping, sampling at pixel centres: a texture
// stretched to its own size comes back unchanged.
DDSImage stretchRepeating(const DDSImage& texture, std::uint32_t width, std::uint32_t height);

} // namespace larkspan
