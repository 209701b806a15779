#include "tree/RawHeightMap.h"

#include <cmath>
#include <cstring>

namespace larkspan {

namespace {

std::uint64_t truncatedSingleRoot(std::uint64_t value)
{
    return static_cast<std::uint64_t>(std::sqrt(static_cast<float>(value)));
}

} // namespace

std::optional<RawHeightMapShape> rawHeightMapShape(std::uint64_t length)
{
    std::uint64_t side = truncatedSingleRoot(length / 2);
    const bool sixteenBit = 2 * side * side >= length;
    if (!sixteenBit)
        side = truncatedSingleRoot(length);
    const std::uint64_t sampleBytes = sixteenBit ? 2 : 1;
    // The single-precision root can land one above the exact one; never
    // read samples that are not there.
    while (side > 0 && side * side * sampleBytes > length)
        --side;
    if (side == 0)
        return std::nullopt;
    return RawHeightMapShape{static_cast<std::uint32_t>(side), sixteenBit};
}

std::optional<Image> decodeRawHeightMap(ByteSpan bytes)
{
    const std::optional<RawHeightMapShape> shape = rawHeightMapShape(bytes.size());
    if (!shape)
        return std::nullopt;
    const std::size_t side = shape->side;
    const bool sixteenBit = shape->sixteenBit;
    const std::size_t sampleBytes = sixteenBit ? 2 : 1;

    Image image;
    image.width = image.height = shape->side;
    image.format = sixteenBit ? PixelFormat::Gray16 : PixelFormat::Gray8;
    image.bytesPerRow = side * sampleBytes;
    image.flipped = true;
    image.pixels.resize(side * side * sampleBytes);
    if (!sixteenBit) {
        std::memcpy(image.pixels.data(), bytes.data(), image.pixels.size());
        return image;
    }
    for (std::size_t i = 0; i < side * side; ++i) {
        const std::uint16_t sample = static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        std::memcpy(image.pixels.data() + 2 * i, &sample, 2);
    }
    return image;
}

} // namespace larkspan
