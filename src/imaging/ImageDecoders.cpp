#include "imaging/ImageDecoders.h"

#include "base/ByteOrder.h"
#include "imaging/DDSDrawToImage.h"
#include "imaging/DDSInfo.h"
#include "imaging/RawHeightMap.h"
#include "imaging/TGADecoder.h"

#include <limits>

namespace larkspan {

namespace {

std::optional<Image> decodeTexture(const SharedBytes& bytes)
{
    DDSHandle texture(DDSOpenData(bytes));
    if (!texture)
        return std::nullopt;
    const std::int32_t width = DDSGetWidth(texture.get());
    const std::int32_t height = DDSGetHeight(texture.get());
    if (width <= 0 || height <= 0)
        return std::nullopt;
    std::optional<DDSImage> picture =
        DDSCreateImage(texture.get(), static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    texture.reset();
    if (!picture)
        return std::nullopt;
    return Image{picture->width, picture->height, PixelFormat::RGBA8, picture->bytesPerRow, false,
                 std::move(picture->pixels)};
}

// The header of a Windows bitmap: its size and the bits each pixel is
// stored in, which the toolkit's reader does not tell (it reports the
// format it decodes to, 32 bits for a 24-bit file).
std::optional<PictureInfo> bitmapInfo(ByteSpan bytes)
{
    constexpr std::size_t kCoreHeaderEnd = 14 + 12;
    constexpr std::size_t kInfoHeaderEnd = 14 + 40;
    if (bytes.size() < kCoreHeaderEnd || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const std::uint32_t headerSize = littleIntAtPosition(bytes, 14);
    if (headerSize == 12)
        return PictureInfo{"BMP", littleShortAtPosition(bytes, 18), littleShortAtPosition(bytes, 20),
                           littleShortAtPosition(bytes, 24), 0};
    if (headerSize < 40 || bytes.size() < kInfoHeaderEnd)
        return std::nullopt;
    // A negative height marks rows stored top down.
    const auto height = static_cast<std::int32_t>(littleIntAtPosition(bytes, 22));
    const auto width = static_cast<std::int32_t>(littleIntAtPosition(bytes, 18));
    if (width < 0 || height == std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return PictureInfo{"BMP", static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height < 0 ? -height : height),
                       littleShortAtPosition(bytes, 28), 0};
}

} // namespace

ImageDecoderTable::ImageDecoderTable()
    : decoders_{
          {"dds", decodeTexture},
          {"raw", [](const SharedBytes& bytes) { return decodeRawHeightMap(*bytes); }},
          {"tga", [](const SharedBytes& bytes) -> std::optional<Image> {
               Result<Image> picture = decodeTGA(*bytes);
               return picture ? std::optional<Image>(std::move(*picture)) : std::nullopt;
           }},
      }
{
}

void ImageDecoderTable::set(std::string extension, ImageDecoder decoder)
{
    decoders_[std::move(extension)] = std::move(decoder);
}

std::optional<Image> ImageDecoderTable::decode(std::string_view extension, const SharedBytes& bytes) const
{
    const auto found = decoders_.find(extension);
    if (found == decoders_.end() || !found->second)
        return std::nullopt;
    return found->second(bytes);
}

std::optional<PictureInfo> pictureInfo(std::string_view extension, const SharedBytes& bytes)
{
    if (extension == "dds") {
        const DDSHandle texture(DDSOpenData(bytes));
        const std::optional<DDSInfo> info = DDSGetInfo(texture.get());
        if (!info)
            return std::nullopt;
        const std::uint32_t bits = DDSIsCompressed(texture.get()) ? 0
                                   : DDSGetDataFormat(texture.get()) == DDSDataFormat::R8G8B8 ? 24
                                   : DDSGetDataFormat(texture.get()) == DDSDataFormat::A8R8G8B8 ? 32
                                                                                                 : 16;
        return PictureInfo{std::string(info->formatName), static_cast<std::uint32_t>(info->width),
                           static_cast<std::uint32_t>(info->height), bits,
                           static_cast<std::uint32_t>(info->levelCount)};
    }
    if (extension == "tga") {
        const Result<TGAInfo> info = readTGAInfo(*bytes);
        if (!info)
            return std::nullopt;
        return PictureInfo{"TGA", info->width, info->height, info->bitsPerPixel, 0};
    }
    if (extension == "bmp")
        return bitmapInfo(*bytes);
    if (extension == "raw") {
        const std::optional<RawHeightMapShape> shape = rawHeightMapShape(bytes->size());
        if (!shape)
            return std::nullopt;
        return PictureInfo{"RAW", shape->side, shape->side, shape->sixteenBit ? 16u : 8u, 0};
    }
    return std::nullopt;
}

} // namespace larkspan
