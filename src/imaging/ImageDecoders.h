#pragma once

#include "base/Bytes.h"
#include "imaging/Image.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

// Turns an image entry's bytes into a picture; nothing when they cannot be
// decoded. The bytes are shared, so a decoder may keep a view of them.
using ImageDecoder = std::function<std::optional<Image>(const SharedBytes& bytes)>;

// Decoders by exact extension. The core knows "raw", "dds" and "tga"; the
// UI registers the formats its toolkit reads (jpg, bmp, png) at start-up.
void registerImageDecoder(std::string extension, ImageDecoder decoder);
const ImageDecoder* imageDecoderFor(std::string_view extension);

// What the image viewer tells about a picture, read without decoding it.
struct PictureInfo {
    std::string format;        // "DXT1" … "A8R8G8B8" for textures, "TGA", "RAW"
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0; // as stored; 0 for compressed textures
    std::uint32_t mipLevels = 0;    // levels the file holds, the top one included; 0 where there are none
};

// For the formats the core decodes ("dds", "tga", "raw"); nothing for the
// others or for bytes that are no such picture.
std::optional<PictureInfo> pictureInfo(std::string_view extension, const SharedBytes& bytes);

} // namespace larkspan
