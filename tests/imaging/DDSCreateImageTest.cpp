// Blocks worked out by hand where the fixtures' reference decodes leave
// room (Pillow truncates what S3TC interpolates), and sizes other than the
// texture's own. Uncompressed texels, and blocks over the right and lower
// edges (13x7, 3x5), are the fixtures' to check.
#include "DDSTestFiles.h"

#include "imaging/DDSDrawToImage.h"

#include <array>

namespace larkspan::test {
namespace {

using RGBA = std::array<int, 4>;

RGBA pixelAt(const DDSImage& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.pixels.data() + y * image.bytesPerRow + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

DDSImage decode(const TestPixelFormat& format, std::int32_t width, std::int32_t height,
                const std::vector<std::uint8_t>& pixels)
{
    const DDSHandle dds = openDDS(ddsBytes(format, width, height, 0, pixels));
    EXPECT_TRUE(dds);
    auto image = DDSCreateImage(dds.get(), std::uint32_t(width), std::uint32_t(height));
    EXPECT_TRUE(image);
    return image ? std::move(*image) : DDSImage{};
}

// One 4x4 block whose row y uses colour index `rowIndex[y]` in all four texels.
std::vector<std::uint8_t> colourBlock(std::uint16_t c0, std::uint16_t c1, std::array<unsigned, 4> rowIndex)
{
    std::vector<std::uint8_t> block{std::uint8_t(c0), std::uint8_t(c0 >> 8), std::uint8_t(c1), std::uint8_t(c1 >> 8)};
    for (unsigned index : rowIndex)
        block.push_back(std::uint8_t(index * 0x55));
    return block;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(DDSCreateImage, DXT1FollowsColourOrder)
{
    // Red 0xF800 and blue 0x001F: thirds and half are exact.
    const struct {
        const char* name;
        std::uint16_t c0, c1;
        std::array<RGBA, 4> palette;
    } cases[] = {
        {"four colours", 0xF800, 0x001F, {RGBA{255, 0, 0, 255}, {0, 0, 255, 255}, {170, 0, 85, 255}, {85, 0, 170, 255}}},
        {"three colours", 0x001F, 0xF800, {RGBA{0, 0, 255, 255}, {255, 0, 0, 255}, {128, 0, 128, 255}, {0, 0, 0, 0}}},
        {"equal colours", 0x07E0, 0x07E0, {RGBA{0, 255, 0, 255}, {0, 255, 0, 255}, {0, 255, 0, 255}, {0, 0, 0, 0}}},
        // 8/3 = 2.67 and 16/3 = 5.33 round to the nearest value.
        {"rounded thirds", 0x0800, 0x0000, {RGBA{8, 0, 0, 255}, {0, 0, 0, 255}, {5, 0, 0, 255}, {3, 0, 0, 255}}},
    };
    for (const auto& c : cases) {
        const DDSImage image = decode(kDXT1, 4, 4, colourBlock(c.c0, c.c1, {0, 1, 2, 3}));
        for (std::uint32_t y = 0; y < 4; ++y)
            for (std::uint32_t x = 0; x < 4; ++x)
                EXPECT_EQ(pixelAt(image, x, y), c.palette[y]) << c.name << " at " << x << "," << y;
    }
}

TEST(DDSCreateImage, DXT3AndDXT5AlwaysUseFourColours)
{
    const auto colours = colourBlock(0x001F, 0xF800, {0, 1, 2, 3}); // colour 0 below colour 1
    const std::vector<std::uint8_t> opaqueDXT3(8, 0xFF);
    const std::vector<std::uint8_t> opaqueDXT5{255, 255, 0, 0, 0, 0, 0, 0};
    for (const DDSImage& image : {decode(kDXT3, 4, 4, concat(opaqueDXT3, colours)),
                                  decode(kDXT5, 4, 4, concat(opaqueDXT5, colours))}) {
        EXPECT_EQ(pixelAt(image, 0, 2), (RGBA{85, 0, 170, 255}));
        EXPECT_EQ(pixelAt(image, 3, 3), (RGBA{170, 0, 85, 255}));
    }
}

TEST(DDSCreateImage, DXT3TakesExplicitAlpha)
{
    // Texel i has alpha nibble i.
    const std::vector<std::uint8_t> alpha{0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE};
    const DDSImage image = decode(kDXT3, 4, 4, concat(alpha, colourBlock(0xFFFF, 0, {0, 0, 0, 0})));
    for (std::uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(pixelAt(image, i % 4, i / 4)[3], int(i * 17)) << i;
}

TEST(DDSCreateImage, DXT5InterpolatesAlpha)
{
    // Texels 0-7 take indices 0-7, texels 8-15 again 0-7.
    std::uint64_t indices = 0;
    for (unsigned i = 0; i < 16; ++i)
        indices |= std::uint64_t(i % 8) << (3 * i);
    const auto alphaBlock = [&](std::uint8_t a0, std::uint8_t a1) {
        std::vector<std::uint8_t> block{a0, a1};
        for (int i = 0; i < 6; ++i)
            block.push_back(std::uint8_t(indices >> (8 * i)));
        return concat(block, colourBlock(0xFFFF, 0, {0, 0, 0, 0}));
    };
    const struct {
        const char* name;
        std::uint8_t a0, a1;
        std::array<int, 8> table;
    } cases[] = {
        // 255·6/7 = 218.6 rounds to 219.
        {"eight alphas", 255, 0, {255, 0, 219, 182, 146, 109, 73, 36}},
        {"six alphas with 0 and 255", 10, 200, {10, 200, 48, 86, 124, 162, 0, 255}},
        {"equal alphas", 77, 77, {77, 77, 77, 77, 77, 77, 0, 255}},
    };
    for (const auto& c : cases) {
        const DDSImage image = decode(kDXT5, 4, 4, alphaBlock(c.a0, c.a1));
        for (std::uint32_t i = 0; i < 16; ++i)
            EXPECT_EQ(pixelAt(image, i % 4, i / 4)[3], c.table[i % 8]) << c.name << ", texel " << i;
    }
}

TEST(DDSCreateImage, RefusesWhatItCannotDraw)
{
    const DDSHandle dds = openDDS(ddsBytes(kDXT1, 4, 4, 0, std::vector<std::uint8_t>(8)));
    EXPECT_FALSE(DDSCreateImage(nullptr, 4, 4));
    EXPECT_FALSE(DDSCreateImage(dds.get(), 0, 4));
    EXPECT_FALSE(DDSCreateImage(dds.get(), 4, 0));
    EXPECT_FALSE(DDSCreateImage(dds.get(), kDDSLargestImageSide + 1, 4));
    // A lying header cannot make the white image enormous.
    const DDSHandle huge = openDDS(ddsBytes(kDXT1, -1, -1, 0));
    EXPECT_FALSE(DDSCreateImage(huge.get(), std::uint32_t(DDSGetWidth(huge.get())), std::uint32_t(DDSGetHeight(huge.get()))));
}

TEST(DDSCreateImage, StretchesLinearlyWithRepeat)
{
    // Red then blue, 2x1. Pixel centres of a 4-wide image fall at texel
    // positions -0.25, 0.25, 0.75, 1.25; the first and last wrap around.
    const DDSImage wide = [] {
        const DDSHandle dds = openDDS(ddsBytes(kR8G8B8, 2, 1, 0, {0, 0, 255, 255, 0, 0}));
        return *DDSCreateImage(dds.get(), 4, 2);
    }();
    const RGBA mostlyRed{191, 0, 64, 255}, mostlyBlue{64, 0, 191, 255};
    for (std::uint32_t y = 0; y < 2; ++y) {
        EXPECT_EQ(pixelAt(wide, 0, y), mostlyRed);
        EXPECT_EQ(pixelAt(wide, 1, y), mostlyRed);
        EXPECT_EQ(pixelAt(wide, 2, y), mostlyBlue);
        EXPECT_EQ(pixelAt(wide, 3, y), mostlyBlue);
    }

    // Halving a 4x4 texture averages each 2x2 square, alpha included.
    std::vector<std::uint8_t> texels;
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            texels.insert(texels.end(), {0, std::uint8_t(y * 40), std::uint8_t(x * 40), std::uint8_t(x < 2 ? 255 : 0)});
    const DDSHandle dds = openDDS(ddsBytes(kA8R8G8B8, 4, 4, 0, texels));
    const auto half = DDSCreateImage(dds.get(), 2, 2);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->bytesPerRow, 8u);
    EXPECT_EQ(pixelAt(*half, 0, 0), (RGBA{20, 20, 0, 255}));
    EXPECT_EQ(pixelAt(*half, 1, 1), (RGBA{100, 100, 0, 0}));

    // A missing top level stays white at any size.
    const DDSHandle empty = openDDS(ddsBytes(kDXT5, 4, 4, 0));
    EXPECT_EQ(DDSCreateImage(empty.get(), 3, 9)->pixels, std::vector<std::uint8_t>(3 * 9 * 4, 255));
}

} // namespace
} // namespace larkspan::test
