// Cut and bit-flipped fixtures. Each damaged copy lives in a buffer of its
// exact length, so a read past it shows under AddressSanitizer.
#include "DDSTestFiles.h"

#include "imaging/DDSDrawToImage.h"
#include "imaging/DDSInfo.h"
#include "imaging/DDSLevelGeometry.h"

namespace larkspan::test {
namespace {

const char* const kFiles[] = {"dxt1_13x7.dds",     "dxt1a_13x7_mips.dds", "dxt3_3x5_mips.dds",
                              "dxt5_4x4_mips.dds", "dxt5_256x128.dds",    "a1r5g5b5_13x7_mips.dds",
                              "a4r4g4b4_3x5.dds",  "r5g6b5_13x7.dds",     "r8g8b8_13x7_mips.dds",
                              "a8r8g8b8_13x7.dds"};

std::optional<DDSImage> ownSizeImage(const DDSFile* dds)
{
    return DDSCreateImage(dds, std::uint32_t(DDSGetWidth(dds)), std::uint32_t(DDSGetHeight(dds)));
}

TEST(DDSDamagedFiles, CutFilesGiveWhiteOrTheWholePicture)
{
    for (const char* file : kFiles) {
        const std::vector<std::uint8_t> whole = fixture(file);
        const DDSHandle intact = openDDS(whole);
        const std::vector<std::uint8_t> picture = ownSizeImage(intact.get())->pixels;
        const std::size_t topLevelEnd = 128 + ddsLevelByteCount(DDSGetDataFormat(intact.get()), ddsTopLevelSize(intact.get()));
        // Big files are cut at fewer places.
        const std::size_t step = whole.size() > 4096 ? 61 : 1;
        for (std::size_t length = 0; length < whole.size(); length += step) {
            DDSError error{};
            const DDSHandle dds{DDSOpenData(share({whole.begin(), whole.begin() + std::ptrdiff_t(length)}), &error)};
            if (length < 128) {
                EXPECT_FALSE(dds);
                EXPECT_EQ(error.failure, DDSFailure::TooShort);
                continue;
            }
            ASSERT_TRUE(dds) << file << " cut to " << length;
            const auto image = ownSizeImage(dds.get());
            ASSERT_TRUE(image) << file << " cut to " << length;
            if (length < topLevelEnd)
                EXPECT_EQ(image->pixels, std::vector<std::uint8_t>(picture.size(), 255)) << file << " cut to " << length;
            else
                EXPECT_EQ(image->pixels, picture) << file << " cut to " << length;
            EXPECT_LE(DDSGetInfo(dds.get())->levelCount, DDSGetInfo(intact.get())->levelCount);
        }
    }
}

TEST(DDSDamagedFiles, FlippedBitsNeverBreakTheDecoder)
{
    for (const char* file : kFiles) {
        const std::vector<std::uint8_t> whole = fixture(file);
        // Every header bit, and a spread of pixel data bits.
        for (std::size_t bit = 0; bit < whole.size() * 8; bit += bit < 128 * 8 ? 1 : 53) {
            std::vector<std::uint8_t> damaged = whole;
            damaged[bit / 8] ^= std::uint8_t(1u << (bit % 8));
            const DDSBytes bytes = share(std::move(damaged));
            const DDSHandle dds{DDSOpenData(bytes)};
            if (!dds)
                continue;
            for (std::int32_t level = 0; level < 40; ++level) {
                if (const auto view = DDSGetDataForMipmapLevel(dds.get(), level)) {
                    EXPECT_GE(view->data(), bytes->data() + 128);
                    EXPECT_LE(view->data() + view->size(), bytes->data() + bytes->size());
                }
            }
            const auto image = ownSizeImage(dds.get());
            if (image) {
                EXPECT_EQ(image->width, std::uint32_t(DDSGetWidth(dds.get())));
                EXPECT_EQ(image->pixels.size(), std::size_t(image->width) * image->height * 4);
            }
        }
    }
}

} // namespace
} // namespace larkspan::test
