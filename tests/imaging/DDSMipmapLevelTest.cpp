#include "DDSTestFiles.h"

#include <optional>

namespace larkspan::test {
namespace {

struct Level {
    std::size_t offset; // from the start of the pixel data
    std::size_t size;
};

struct WalkCase {
    const char* name;
    TestPixelFormat format;
    std::int32_t width, height, mipmapCount;
    std::size_t pixelBytes;                   // bytes after the header
    std::vector<std::optional<Level>> levels; // levels 0, 1, ... as expected
};

TEST(DDSGetDataForMipmapLevel, WalksTheChain)
{
    const WalkCase cases[] = {
        {"4x4 DXT1 takes 8 bytes", kDXT1, 4, 4, 0, 8, {Level{0, 8}, std::nullopt}},
        {"1x1 DXT5 takes 16 bytes", kDXT5, 1, 1, 0, 16, {Level{0, 16}}},
        {"3x5 16-bit takes 30 bytes", kA4R4G4B4, 3, 5, 0, 30, {Level{0, 30}}},
        {"13x7 24-bit", kR8G8B8, 13, 7, 0, 273, {Level{0, 273}}},
        {"count 0 has no level 1", kA8R8G8B8, 2, 2, 0, 20, {Level{0, 16}, std::nullopt}},
        // 4x1, 2x1, 1x1, and there the chain ends whatever the count says.
        {"4x1 chain ends", kA8R8G8B8, 4, 1, 9, 28, {Level{0, 16}, Level{16, 8}, Level{24, 4}, std::nullopt}},
        {"count 3, all in the file", kDXT1, 8, 8, 3, 56, {Level{0, 32}, Level{32, 8}, Level{40, 8}, Level{48, 8}, std::nullopt}},
        {"count 3, last level cut", kDXT1, 8, 8, 3, 55, {Level{0, 32}, Level{32, 8}, Level{40, 8}, std::nullopt, std::nullopt}},
        {"blocks round up", kDXT3, 5, 9, 2, 160, {Level{0, 96}, Level{96, 16}, Level{112, 16}}},
        {"level 0 cut", kDXT5, 8, 4, 0, 31, {std::nullopt}},
        {"0x0 has no levels", kA8R8G8B8, 0, 0, 3, 64, {std::nullopt, std::nullopt}},
        {"0 wide counts as 1", kA8R8G8B8, 0, 4, 3, 64, {Level{0, 16}, Level{16, 8}, Level{24, 4}, std::nullopt}},
        {"negative width counts as 1", kA8R8G8B8, -8, 2, 1, 12, {Level{0, 8}, Level{8, 4}}},
        {"huge header, small file", kA8R8G8B8, 0x7FFFFFFF, 0x7FFFFFFF, 40, 64, {std::nullopt, std::nullopt}},
    };
    for (const WalkCase& c : cases) {
        const DDSBytes bytes = share(ddsBytes(c.format, c.width, c.height, c.mipmapCount, std::vector<std::uint8_t>(c.pixelBytes)));
        const DDSHandle dds{DDSOpenData(bytes)};
        ASSERT_TRUE(dds) << c.name;
        for (std::size_t k = 0; k < c.levels.size(); ++k) {
            const auto view = DDSGetDataForMipmapLevel(dds.get(), std::int32_t(k));
            ASSERT_EQ(view.has_value(), c.levels[k].has_value()) << c.name << ", level " << k;
            if (view) {
                EXPECT_EQ(view->data(), bytes->data() + 128 + c.levels[k]->offset) << c.name << ", level " << k;
                EXPECT_EQ(view->size(), c.levels[k]->size) << c.name << ", level " << k;
            }
        }
        EXPECT_FALSE(DDSGetDataForMipmapLevel(dds.get(), -1)) << c.name;
    }
}

} // namespace
} // namespace larkspan::test
