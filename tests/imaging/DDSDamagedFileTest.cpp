// Cut fixtures, each in a buffer of its exact length, so that a read past it
// shows under AddressSanitizer. Bit-flipped files are the fuzz corpus's.
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

} // namespace
} // namespace larkspan::test
