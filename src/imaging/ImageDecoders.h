#pragma once

#include "base/Bytes.h"
#include "imaging/Image.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

// Turns an image entry's bytes into a picture; nothing when they cannot be
// decoded. The bytes are shared, so a decoder may keep a view of them.
using ImageDecoder = std::function<std::optional<Image>(const SharedBytes& bytes)>;

// Decoders by exact extension, handed to whatever decodes a picture. A new
// table reads what the core decodes itself ("dds", "tga", "raw"); the UI
// makes one with the formats its toolkit reads added (jpg, bmp, png).
class ImageDecoderTable {
public:
    ImageDecoderTable();

    // Replaces the decoder the extension had, if any.
    void set(std::string extension, ImageDecoder decoder);
    // Nothing when no decoder reads the extension or the bytes are no such picture.
    std::optional<Image> decode(std::string_view extension, const SharedBytes& bytes) const;

private:
    std::map<std::string, ImageDecoder, std::less<>> decoders_;
};

// What the image viewer tells about a picture, read without decoding it.
struct PictureInfo {
    std::string format;        // "DXT1" … "A8R8G8B8" for textures, "TGA", "RAW", "BMP"
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0; // as stored; 0 for compressed textures
    std::uint32_t mipLevels = 0;    // levels the file holds, the top one included; 0 where there are none
};

// For the formats the core decodes ("dds", "tga", "raw") and for "bmp";
// nothing for the others or for bytes that are no such picture.
std::optional<PictureInfo> pictureInfo(std::string_view extension, const SharedBytes& bytes);

} // namespace larkspan
