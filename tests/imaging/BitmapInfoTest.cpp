#include "base/ByteOrder.h"
#include "imaging/ImageDecoders.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// A bitmap's file header and the start of its info header: header size,
// width, height (as stored), bits per pixel.
Bytes bitmapHeader(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint16_t bits)
{
    Bytes bytes{'B', 'M'};
    bytes.resize(14);
    appendLittleInt(bytes, headerSize);
    if (headerSize == 12) {
        for (const std::uint16_t value : {static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                          std::uint16_t{1}, bits})
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
        return bytes;
    }
    appendLittleInt(bytes, static_cast<std::uint32_t>(width));
    appendLittleInt(bytes, static_cast<std::uint32_t>(height));
    bytes.insert(bytes.end(), {1, 0, static_cast<std::uint8_t>(bits), 0});
    bytes.resize(14 + headerSize);
    return bytes;
}

TEST(BitmapInfo, StoredBitsAndSize)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::optional<PictureInfo> expected;
    };
    Bytes cutShort = bitmapHeader(40, 16, 8, 24);
    cutShort.resize(30);
    const Case cases[] = {
        {"24-bit", bitmapHeader(40, 16, 8, 24), PictureInfo{"BMP", 16, 8, 24, 0}},
        {"top down", bitmapHeader(124, 3, -5, 32), PictureInfo{"BMP", 3, 5, 32, 0}},
        {"OS/2 header", bitmapHeader(12, 7, 9, 8), PictureInfo{"BMP", 7, 9, 8, 0}},
        {"cut short", cutShort, std::nullopt},
        {"no bitmap", Bytes(60, 'x'), std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<PictureInfo> info = pictureInfo("bmp", makeSharedBytes(c.bytes));
        ASSERT_EQ(info.has_value(), c.expected.has_value()) << c.name;
        if (!info)
            continue;
        EXPECT_EQ(info->format, c.expected->format) << c.name;
        EXPECT_EQ(info->width, c.expected->width) << c.name;
        EXPECT_EQ(info->height, c.expected->height) << c.name;
        EXPECT_EQ(info->bitsPerPixel, c.expected->bitsPerPixel) << c.name;
    }
}

} // namespace
} // namespace larkspan
