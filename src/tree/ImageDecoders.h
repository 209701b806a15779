#pragma once

#include "tree/Bytes.h"
#include "tree/Image.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

// Turns an image entry's bytes into a picture; nothing when they cannot be
// decoded.
using ImageDecoder = std::function<std::optional<Image>(ByteSpan bytes)>;

// Decoders by exact extension. The core knows "raw", "dds" and "tga"; the
// UI registers the formats its toolkit reads (jpg, bmp, png) at start-up.
void registerImageDecoder(std::string extension, ImageDecoder decoder);
const ImageDecoder* imageDecoderFor(std::string_view extension);

} // namespace larkspan
