// The DDS opener, its level walk and the rasteriser on any file. The image
// at the texture's own size is drawn only for textures of up to 65 536
// texels (a missing top level is drawn as white at the header's size, which
// can be big); a stretched image of at most 64 × 64, sized by the file's
// last two bytes, is drawn for every texture.

#include "FuzzCheck.h"

#include "imaging/BilinearStretch.h"
#include "imaging/DDSDrawToImage.h"
#include "imaging/DDSInfo.h"
#include "imaging/ImageDecoders.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace larkspan;

constexpr std::uint64_t kLargestDrawnAtOwnSize = 1 << 16;

void checkImage(const std::optional<DDSImage>& image, std::uint32_t width, std::uint32_t height)
{
    FUZZ_CHECK(image);
    FUZZ_CHECK(image->width == width && image->height == height);
    FUZZ_CHECK(image->bytesPerRow == std::size_t(width) * 4);
    FUZZ_CHECK(image->pixels.size() == image->bytesPerRow * height);
}

void checkLevels(const DDSFile* dds, const DDSBytes& bytes)
{
    const std::optional<DDSInfo> info = DDSGetInfo(dds);
    FUZZ_CHECK(info);
    FUZZ_CHECK(info->width == DDSGetWidth(dds) && info->height == DDSGetHeight(dds));
    const std::uint8_t* begin = bytes->data();
    const std::uint8_t* end = begin + bytes->size();
    for (std::int32_t level = 0; level < info->levelCount; ++level) {
        const auto view = DDSGetDataForMipmapLevel(dds, level);
        FUZZ_CHECK(view);
        FUZZ_CHECK(view->data() >= begin + 128 && view->data() + view->size() <= end);
    }
    FUZZ_CHECK(!DDSGetDataForMipmapLevel(dds, info->levelCount));
    FUZZ_CHECK(!DDSGetDataForMipmapLevel(dds, -1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DDSBytes bytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + size);
    DDSError error{};
    const DDSHandle dds(DDSOpenData(bytes, &error));
    const std::optional<PictureInfo> info = pictureInfo("dds", bytes);
    FUZZ_CHECK(info.has_value() == (dds != nullptr));
    if (!dds) {
        FUZZ_CHECK(!error.message.empty());
        return 0;
    }
    checkLevels(dds.get(), bytes);

    const std::uint32_t stretchedWidth = 1 + data[size - 1] % 64;
    const std::uint32_t stretchedHeight = 1 + data[size - 2] % 64;
    checkImage(DDSCreateImage(dds.get(), stretchedWidth, stretchedHeight), stretchedWidth, stretchedHeight);

    const std::int32_t width = DDSGetWidth(dds.get());
    const std::int32_t height = DDSGetHeight(dds.get());
    if (width <= 0 || height <= 0 || std::uint64_t(width) * std::uint64_t(height) > kLargestDrawnAtOwnSize)
        return 0;
    const std::optional<DDSImage> own = DDSCreateImage(dds.get(), std::uint32_t(width), std::uint32_t(height));
    if (std::uint32_t(width) > kDDSLargestImageSide || std::uint32_t(height) > kDDSLargestImageSide) {
        FUZZ_CHECK(!own);
        return 0;
    }
    checkImage(own, std::uint32_t(width), std::uint32_t(height));
    // A texture stretched to its own size comes back unchanged.
    const DDSImage same = stretchRepeating(*own, own->width, own->height);
    FUZZ_CHECK(same.pixels == own->pixels);
    return 0;
}
