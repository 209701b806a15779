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

std::optional<Image> decodeRawHeightMap(ByteSpan bytes)
{
    const std::uint64_t length = bytes.size();
    std::uint64_t side = truncatedSingleRoot(length / 2);
    bool sixteenBit = 2 * side * side >= length;
    if (!sixteenBit)
        side = truncatedSingleRoot(length);
    const std::uint64_t sampleBytes = sixteenBit ? 2 : 1;
    // The single-precision root can land one above the exact one; never
    // read samples that are not there.
    while (side > 0 && side * side * sampleBytes > length)
        --side;
    if (side == 0)
        return std::nullopt;

    Image image;
    image.width = image.height = static_cast<std::uint32_t>(side);
    image.format = sixteenBit ? PixelFormat::Gray16 : PixelFormat::Gray8;
    image.bytesPerRow = static_cast<std::size_t>(side * sampleBytes);
    image.flipped = true;
    image.pixels.resize(static_cast<std::size_t>(side * side * sampleBytes));
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
