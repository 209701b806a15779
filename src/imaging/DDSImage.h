#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace larkspan {

// A decoded texture: 8-bit red, green, blue and alpha per pixel, alpha not
// premultiplied, row 0 first, rows of bytesPerRow bytes. The pixel vector is
// meant to be moved out whole by whoever wraps the picture.
struct DDSImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t bytesPerRow = 0;
    std::vector<std::uint8_t> pixels;
};

} // namespace larkspan
