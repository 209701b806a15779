#pragma once

#include "base/ByteOrder.h"
#include "imaging/OpenDDSFile.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace larkspan::test {

struct TestPixelFormat {
    std::uint32_t flags;
    char fourCC[5];
    std::uint32_t bitCount, red, green, blue, alpha;
};

inline constexpr TestPixelFormat kDXT1{4, "DXT1", 0, 0, 0, 0, 0};
inline constexpr TestPixelFormat kDXT3{4, "DXT3", 0, 0, 0, 0, 0};
inline constexpr TestPixelFormat kDXT5{4, "DXT5", 0, 0, 0, 0, 0};
inline constexpr TestPixelFormat kA1R5G5B5{0x41, "", 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
inline constexpr TestPixelFormat kA4R4G4B4{0x41, "", 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
inline constexpr TestPixelFormat kR5G6B5{0x40, "", 16, 0xF800, 0x07E0, 0x001F, 0};
inline constexpr TestPixelFormat kR8G8B8{0x40, "", 24, 0xFF0000, 0x00FF00, 0x0000FF, 0};
inline constexpr TestPixelFormat kA8R8G8B8{0x41, "", 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};

// A DDS file as the common writers lay it out, followed by `pixels`.
inline std::vector<std::uint8_t> ddsBytes(const TestPixelFormat& format, std::int32_t width, std::int32_t height,
                                          std::int32_t mipmapCount, const std::vector<std::uint8_t>& pixels = {})
{
    std::vector<std::uint8_t> bytes(128 + pixels.size(), 0);
    std::memcpy(bytes.data(), "DDS ", 4);
    replaceBytesInRange(bytes, 4, 124);
    replaceBytesInRange(bytes, 8, 0x1007);
    replaceBytesInRange(bytes, 12, std::uint32_t(height));
    replaceBytesInRange(bytes, 16, std::uint32_t(width));
    replaceBytesInRange(bytes, 28, std::uint32_t(mipmapCount));
    replaceBytesInRange(bytes, 76, 32);
    replaceBytesInRange(bytes, 80, format.flags);
    std::memcpy(bytes.data() + 84, format.fourCC, 4);
    replaceBytesInRange(bytes, 88, format.bitCount);
    replaceBytesInRange(bytes, 92, format.red);
    replaceBytesInRange(bytes, 96, format.green);
    replaceBytesInRange(bytes, 100, format.blue);
    replaceBytesInRange(bytes, 104, format.alpha);
    replaceBytesInRange(bytes, 108, 0x1000);
    std::copy(pixels.begin(), pixels.end(), bytes.begin() + 128);
    return bytes;
}

inline DDSBytes share(std::vector<std::uint8_t> bytes)
{
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
}

inline DDSHandle openDDS(std::vector<std::uint8_t> bytes)
{
    return DDSHandle{DDSOpenData(share(std::move(bytes)))};
}

inline std::vector<std::uint8_t> fixture(const std::string& name)
{
    return fixtures::testData("dds/" + name);
}

} // namespace larkspan::test
