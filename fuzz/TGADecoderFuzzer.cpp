// The TGA decoder on any file: a picture whose size is the header's, or a
// refusal that the header reader agrees with where the header is at fault.

#include "FuzzCheck.h"

#include "imaging/TGADecoder.h"

#include <cstdint>

using namespace larkspan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSpan bytes(data, size);
    const Result<TGAInfo> info = readTGAInfo(bytes);
    const Result<Image> image = decodeTGA(bytes);
    if (!info) {
        FUZZ_CHECK(!image);
        FUZZ_CHECK(image.error().code == info.error().code);
        return 0;
    }
    if (!image)
        return 0;
    FUZZ_CHECK(image->width == info->width && image->height == info->height);
    FUZZ_CHECK(image->format == PixelFormat::RGBA8 && !image->flipped);
    FUZZ_CHECK(image->bytesPerRow == std::size_t(image->width) * 4);
    FUZZ_CHECK(image->pixels.size() == image->bytesPerRow * image->height);
    return 0;
}
