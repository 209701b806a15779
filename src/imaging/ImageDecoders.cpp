#include "imaging/ImageDecoders.h"

#include "imaging/DDSDrawToImage.h"
#include "imaging/DDSInfo.h"
#include "imaging/RawHeightMap.h"
#include "imaging/TGADecoder.h"

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
    if (extension == "raw") {
        const std::optional<RawHeightMapShape> shape = rawHeightMapShape(bytes->size());
        if (!shape)
            return std::nullopt;
        return PictureInfo{"RAW", shape->side, shape->side, shape->sixteenBit ? 16u : 8u, 0};
    }
    return std::nullopt;
}

} // namespace larkspan
