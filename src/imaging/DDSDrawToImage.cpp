#include "imaging/DDSDrawToImage.h"

#include "imaging/BilinearStretch.h"
#include "imaging/DXTDecoder.h"
#include "imaging/PackedTexelDecoder.h"

#include <new>

namespace larkspan {

namespace {

DDSImage blankImage(std::uint64_t width, std::uint64_t height, std::uint8_t fill)
{
    DDSImage image{std::uint32_t(width), std::uint32_t(height), std::size_t(width) * 4, {}};
    image.pixels.assign(image.bytesPerRow * height, fill);
    return image;
}

DDSImage decodeTopLevel(const DDSFile* dds, std::span<const std::uint8_t> level, DDSLevelSize size)
{
    DDSImage image = blankImage(size.width, size.height, 0);
    if (DDSIsCompressed(dds))
        decodeDXTLevel(DDSGetDataFormat(dds), level, size, image.pixels.data(), image.bytesPerRow);
    else
        decodePackedLevel(DDSGetDataFormat(dds), level, size, image.pixels.data(), image.bytesPerRow);
    return image;
}

} // namespace

std::optional<DDSImage> DDSCreateImage(const DDSFile* dds, std::uint32_t width, std::uint32_t height)
{
    if (!dds || width == 0 || height == 0 || width > kDDSLargestImageSide || height > kDDSLargestImageSide)
        return std::nullopt;
    try {
        const std::optional<std::span<const std::uint8_t>> top = DDSGetDataForMipmapLevel(dds, 0);
        if (!top)
            return blankImage(width, height, 255);
        const DDSLevelSize size = ddsTopLevelSize(dds);
        if (size == DDSLevelSize{width, height})
            return decodeTopLevel(dds, *top, size);
        return stretchRepeating(decodeTopLevel(dds, *top, size), width, height);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace larkspan
