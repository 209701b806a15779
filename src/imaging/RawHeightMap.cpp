#include "imaging/RawHeightMap.h"

#include "base/ByteOrder.h"

#include <algorithm>
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
    // A side above 32 bits could not be stored, and keeping it within them
    // keeps side² within 64; the comparisons divide instead of multiplying
    // so that even the largest lengths cannot wrap.
    const auto root = [](std::uint64_t value) { return std::min<std::uint64_t>(truncatedSingleRoot(value), UINT32_MAX); };
    std::uint64_t side = root(length / 2);
    // 2·side² ≥ length
    const bool sixteenBit = side * side >= length / 2 + length % 2;
    if (!sixteenBit)
        side = root(length);
    const std::uint64_t sampleBytes = sixteenBit ? 2 : 1;
    // The single-precision root can land one above the exact one; never
    // read samples that are not there.
    while (side > 0 && side * side > length / sampleBytes)
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
        const std::uint16_t sample = littleEndian16(bytes.data() + 2 * i);
        std::memcpy(image.pixels.data() + 2 * i, &sample, 2);
    }
    return image;
}

} // namespace larkspan
