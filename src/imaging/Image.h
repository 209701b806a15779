#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace larkspan {

enum class PixelFormat {
    RGBA8,  // 4 bytes per pixel: R, G, B, A (straight alpha)
    Gray8,  // 1 byte per pixel
    Gray16, // one std::uint16_t per pixel, host byte order
};

// A decoded picture. Row 0 is the first row of `pixels`; `flipped` says the
// picture is meant to be shown upside down (RAW height maps: first stored
// row at the bottom).
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    PixelFormat format = PixelFormat::RGBA8;
    std::size_t bytesPerRow = 0;
    bool flipped = false;
    std::vector<std::uint8_t> pixels; // height * bytesPerRow bytes
};

using SharedImage = std::shared_ptr<const Image>;

} // namespace larkspan
