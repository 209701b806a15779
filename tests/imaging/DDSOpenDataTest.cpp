#include "DDSTestFiles.h"

#include <optional>
#include <variant>

namespace larkspan::test {
namespace {

struct HeaderCase {
    const char* name;
    TestPixelFormat pixelFormat;
    std::variant<DDSDataFormat, DDSFailure> expected;
};

class DDSOpenHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(DDSOpenHeader, GivesTheFormatCodeOrTheReason)
{
    const HeaderCase& c = GetParam();
    DDSError error{};
    const DDSHandle dds{DDSOpenData(share(ddsBytes(c.pixelFormat, 4, 4, 0)), &error)};
    if (const auto* format = std::get_if<DDSDataFormat>(&c.expected)) {
        ASSERT_TRUE(dds);
        EXPECT_EQ(DDSGetDataFormat(dds.get()), *format);
    } else {
        EXPECT_FALSE(dds);
        EXPECT_EQ(error.failure, std::get<DDSFailure>(c.expected));
        EXPECT_FALSE(error.message.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DDSOpenHeader,
    testing::Values(
        // Each format's plain header is the fixture test's. Flag bits other
        // than RGB and alpha do not matter to the RGB rules.
        HeaderCase{"RGBWithFourCCFlag", {0x45, "DXT1", 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}, DDSDataFormat::A8R8G8B8},
        // Code 7 has no alpha mask to compare.
        HeaderCase{"R8G8B8IgnoresAlphaMask", {0x40, "", 24, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}, DDSDataFormat::R8G8B8},
        // Flags 4 with more bits are judged by the RGB rules, not by the FourCC.
        HeaderCase{"FourCCFlagPlusRGBFlag", {0x44, "DXT1", 0, 0, 0, 0, 0}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"FourCCFlagPlusAlphaFlag", {0x05, "DXT5", 0, 0, 0, 0, 0}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"DXT2", {4, "DXT2", 0, 0, 0, 0, 0}, DDSFailure::UnsupportedFourCC},
        HeaderCase{"LowerCaseFourCC", {4, "dxt1", 0, 0, 0, 0, 0}, DDSFailure::UnsupportedFourCC},
        HeaderCase{"FourCCInReverseOrder", {4, "1TXD", 0, 0, 0, 0, 0}, DDSFailure::UnsupportedFourCC},
        HeaderCase{"NoRGBFlag", {0x01, "", 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"A1R5G5B5WithoutAlphaFlag", {0x40, "", 16, 0x7C00, 0x03E0, 0x001F, 0x8000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"A8R8G8B8WithoutAlphaFlag", {0x40, "", 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"R5G6B5WithAlphaFlag", {0x41, "", 16, 0xF800, 0x07E0, 0x001F, 0}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"OneBitAlphaWithWrongRed", {0x41, "", 16, 0xF800, 0x03E0, 0x001F, 0x8000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"FourBitAlphaWith24Bits", {0x41, "", 24, 0x0F00, 0x00F0, 0x000F, 0xF000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"BlueAndRedSwapped", {0x41, "", 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000}, DDSFailure::UnsupportedPixelFormat},
        HeaderCase{"X8R8G8B8", {0x40, "", 32, 0xFF0000, 0xFF00, 0xFF, 0}, DDSFailure::UnsupportedPixelFormat}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

struct FramingCase {
    const char* name;
    std::size_t length;
    std::size_t at;
    std::uint32_t value;
    DDSFailure expected;
};

TEST(DDSOpenData, RejectsBrokenFraming)
{
    const FramingCase cases[] = {
        {"127 bytes", 127, 0, 0x20534444, DDSFailure::TooShort},
        {"DDS and a zero byte", 128, 0, 0x00534444, DDSFailure::NotDDS},
        {"header size 123", 128, 4, 123, DDSFailure::BadHeaderSize},
        {"header size 128", 128, 4, 128, DDSFailure::BadHeaderSize},
        {"pixel format size 24", 128, 76, 24, DDSFailure::BadPixelFormatSize},
    };
    for (const FramingCase& c : cases) {
        std::vector<std::uint8_t> bytes = ddsBytes(kDXT1, 4, 4, 0, std::vector<std::uint8_t>(8));
        replaceBytesInRange(bytes, c.at, c.value);
        bytes.resize(c.length);
        DDSError error{};
        EXPECT_EQ(DDSOpenData(share(bytes), &error), nullptr) << c.name;
        EXPECT_EQ(error.failure, c.expected) << c.name;
    }
    DDSError error{};
    EXPECT_EQ(DDSOpenData(nullptr, &error), nullptr);
    EXPECT_EQ(error.failure, DDSFailure::TooShort);
}

TEST(DDSOpenData, TakesTheHeaderFieldsAsTheyAre)
{
    const DDSHandle dds = openDDS(ddsBytes(kR5G6B5, 13, 7, 4));
    ASSERT_TRUE(dds);
    EXPECT_EQ(DDSGetWidth(dds.get()), 13);
    EXPECT_EQ(DDSGetHeight(dds.get()), 7);
    EXPECT_TRUE(DDSHasMipmaps(dds.get()));
    EXPECT_FALSE(DDSIsCompressed(dds.get()));
    EXPECT_EQ(static_cast<int>(DDSGetDataFormat(dds.get())), 6);

    const std::pair<std::int32_t, bool> counts[] = {{0, false}, {1, true}, {-1, false}};
    for (const auto& [count, hasMipmaps] : counts)
        EXPECT_EQ(DDSHasMipmaps(openDDS(ddsBytes(kDXT1, 4, 4, count)).get()), hasMipmaps) << count;
    for (const TestPixelFormat& format : {kDXT1, kDXT3, kDXT5})
        EXPECT_TRUE(DDSIsCompressed(openDDS(ddsBytes(format, 4, 4, 0)).get())) << format.fourCC;
    for (const TestPixelFormat& format : {kA1R5G5B5, kA4R4G4B4, kR8G8B8, kA8R8G8B8})
        EXPECT_FALSE(DDSIsCompressed(openDDS(ddsBytes(format, 4, 4, 0)).get())) << format.bitCount;
}

TEST(DDSOpenData, SharesTheBytesUntilDestroyed)
{
    const DDSBytes bytes = share(ddsBytes(kDXT1, 4, 4, 0, std::vector<std::uint8_t>(8)));
    DDSFile* dds = DDSOpenData(bytes);
    ASSERT_NE(dds, nullptr);
    EXPECT_EQ(bytes.use_count(), 2); // its levels are views (the level walk checks where)
    DDSDestroy(dds);
    EXPECT_EQ(bytes.use_count(), 1);

    const DDSBytes rejected = share(std::vector<std::uint8_t>(200, 0));
    EXPECT_EQ(DDSOpenData(rejected), nullptr);
    EXPECT_EQ(rejected.use_count(), 1);
}

} // namespace
} // namespace larkspan::test
