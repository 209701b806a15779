// The RAW height-map rule. The shape rule runs on a length taken from the
// first eight bytes (any 64-bit value: it must never promise samples that
// are not there, nor overflow); the decoder runs on the whole input.

#include "FuzzCheck.h"

#include "imaging/RawHeightMap.h"

#include <cstdint>
#include <cstring>

namespace {

using namespace larkspan;

// side² · sampleBytes ≤ length, without overflowing 64 bits.
bool fits(std::uint64_t side, std::uint64_t sampleBytes, std::uint64_t length)
{
    return side <= length / sampleBytes / side;
}

void checkShape(std::uint64_t length)
{
    const std::optional<RawHeightMapShape> shape = rawHeightMapShape(length);
    if (!shape) {
        FUZZ_CHECK(length < 1 || !fits(1, 1, length));
        return;
    }
    FUZZ_CHECK(shape->side > 0);
    FUZZ_CHECK(fits(shape->side, shape->sixteenBit ? 2 : 1, length));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 8) {
        std::uint64_t length = 0;
        for (int i = 7; i >= 0; --i)
            length = length << 8 | data[i];
        checkShape(length);
    }
    checkShape(size);

    const std::optional<Image> image = decodeRawHeightMap(ByteSpan(data, size));
    const std::optional<RawHeightMapShape> shape = rawHeightMapShape(size);
    FUZZ_CHECK(image.has_value() == shape.has_value());
    if (!image)
        return 0;
    const std::size_t side = shape->side;
    FUZZ_CHECK(image->width == side && image->height == side && image->flipped);
    if (!shape->sixteenBit) {
        FUZZ_CHECK(image->format == PixelFormat::Gray8 && image->bytesPerRow == side);
        FUZZ_CHECK(image->pixels.size() == side * side && std::memcmp(image->pixels.data(), data, side * side) == 0);
        return 0;
    }
    FUZZ_CHECK(image->format == PixelFormat::Gray16 && image->bytesPerRow == 2 * side);
    FUZZ_CHECK(image->pixels.size() == 2 * side * side);
    for (std::size_t i = 0; i < side * side; ++i) {
        std::uint16_t sample;
        std::memcpy(&sample, image->pixels.data() + 2 * i, 2);
        FUZZ_CHECK(sample == (data[2 * i] | data[2 * i + 1] << 8));
    }
    return 0;
}
