// TGA files from ImageMagick, Pillow and tests/data/tga/make_fixtures.py
// against the source pictures, and hand-made broken ones.
#include "imaging/TGADecoder.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace larkspan {
namespace {

Bytes fixture(const std::string& name)
{
    return fixtures::testData("tga/" + name);
}

enum class Alpha { Keep, Opaque, OneBit };

struct Fixture {
    std::string file;
    std::string source; // colour, grey or greyalpha
    Alpha alpha;
    unsigned bitsPerPixel;
};

// The picture a fixture must give: its source, with alpha as the format keeps it.
Bytes expectedPixels(const Fixture& f)
{
    Bytes pixels = fixture(f.source + ".rgba");
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        if (f.alpha == Alpha::Opaque)
            pixels[i] = 255;
        else if (f.alpha == Alpha::OneBit)
            pixels[i] = pixels[i] >= 128 ? 255 : 0;
    }
    return pixels;
}

// Every TGA of tests/data/tga, named WRITER_KIND[_more].tga: the kind says
// the source picture, the alpha kept and the bits of a pixel (of an index
// for colour-mapped kinds, 16 where the name says "index16").
std::vector<Fixture> fixtures()
{
    const Fixture kinds[] = { // the kind in place of the file
        {"true15", "colour", Alpha::Opaque, 15}, {"true16", "colour", Alpha::OneBit, 16},
        {"true24", "colour", Alpha::Opaque, 24}, {"true32", "colour", Alpha::Keep, 32},
        {"map15", "colour", Alpha::Opaque, 8},   {"map16", "colour", Alpha::OneBit, 8},
        {"map24", "colour", Alpha::Opaque, 8},   {"map32", "colour", Alpha::Keep, 8},
        {"grey8", "grey", Alpha::Keep, 8},       {"grey16", "greyalpha", Alpha::Keep, 16},
    };
    std::vector<Fixture> found;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LARKSPAN_TEST_DATA) + "/tga")) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".tga")
            continue;
        const std::size_t from = file.find('_') + 1;
        const std::string kind = file.substr(from, file.find_first_of("_.", from) - from);
        const auto match = std::find_if(std::begin(kinds), std::end(kinds), [&](const Fixture& k) { return k.file == kind; });
        Fixture f = match == std::end(kinds) ? Fixture{file, "no such source", Alpha::Keep, 0} : *match; // fails
        f.file = file;
        if (file.find("_index16") != std::string::npos)
            f.bitsPerPixel = 16;
        found.push_back(f);
    }
    std::sort(found.begin(), found.end(), [](const Fixture& a, const Fixture& b) { return a.file < b.file; });
    return found;
}

class TGAFixtures : public testing::TestWithParam<Fixture> {};

TEST_P(TGAFixtures, DecodeToTheSourcePicture)
{
    const Fixture& f = GetParam();
    const Bytes bytes = fixture(f.file);
    const Result<Image> image = decodeTGA(bytes);
    ASSERT_TRUE(image) << describe(image.error()).text;
    EXPECT_EQ(image->width, 13u);
    EXPECT_EQ(image->height, 7u);
    EXPECT_EQ(image->format, PixelFormat::RGBA8);
    EXPECT_EQ(image->bytesPerRow, 13u * 4);
    EXPECT_FALSE(image->flipped);
    EXPECT_EQ(image->pixels, expectedPixels(f));

    const Result<TGAInfo> info = readTGAInfo(bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 13u);
    EXPECT_EQ(info->height, 7u);
    EXPECT_EQ(info->bitsPerPixel, f.bitsPerPixel);
}

// Each cut copy lives in a buffer of its exact length, so a read past it
// shows under AddressSanitizer.
TEST_P(TGAFixtures, CutFilesGiveNoPictureUntilThePixelsAreWhole)
{
    const Bytes whole = fixture(GetParam().file);
    const Result<Image> full = decodeTGA(whole);
    ASSERT_TRUE(full);
    bool decoded = false;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        const Result<Image> image = decodeTGA(cut);
        if (image) {
            EXPECT_EQ(image->pixels, full->pixels) << "cut to " << length;
            decoded = true;
            continue;
        }
        // Only bytes after the pixel data (an extension area, the footer) may go missing.
        EXPECT_FALSE(decoded) << "cut to " << length;
        const ErrorCode code = image.error().code;
        EXPECT_TRUE(code == ErrorCode::TgaTruncatedHeader || code == ErrorCode::TgaTruncatedIdentification ||
                    code == ErrorCode::TgaTruncatedColourMap || code == ErrorCode::TgaTruncatedPixelData)
            << "cut to " << length << ": " << describe(image.error()).text;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TGAFixtures, testing::ValuesIn(fixtures()),
                         [](const testing::TestParamInfo<Fixture>& info) {
                             const std::string name = info.param.file;
                             return name.substr(0, name.size() - 4);
                         });

// A small picture to break: a 2x2 colour-mapped one with a 3-entry 24-bit map, top-left origin.
struct TestTGA {
    std::uint8_t idLength = 0, colourMapType = 1, imageType = 1;
    std::uint16_t firstEntry = 0, mapLength = 3;
    std::uint8_t entryBits = 24;
    std::uint16_t width = 2, height = 2;
    std::uint8_t pixelBits = 8, descriptor = 0x20;
    static constexpr std::array<std::uint8_t, 13> kBody{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 1, 2, 1}; // map, indices
    Bytes body = Bytes(kBody.begin(), kBody.end());

    Bytes bytes() const
    {
        const std::uint8_t header[18] = {idLength, colourMapType, imageType, std::uint8_t(firstEntry),
                                         std::uint8_t(firstEntry >> 8), std::uint8_t(mapLength),
                                         std::uint8_t(mapLength >> 8), entryBits, 0, 0, 0, 0,
                                         std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
                                         std::uint8_t(height >> 8), pixelBits, descriptor};
        Bytes out(sizeof header + body.size());
        std::copy(std::begin(header), std::end(header), out.begin());
        std::copy(body.begin(), body.end(), out.begin() + sizeof header);
        return out;
    }
};

TEST(TGADecoder, RejectsBrokenFilesWithTheReason)
{
    const auto with = [](auto change) {
        TestTGA tga;
        change(tga);
        return tga.bytes();
    };
    const struct {
        const char* name;
        Bytes bytes;
        ErrorCode expected;
    } cases[] = {
        {"17 bytes", Bytes(17, 0), ErrorCode::TgaTruncatedHeader},
        {"image ID past the end", with([](TestTGA& t) { t.idLength = 20; }), ErrorCode::TgaTruncatedIdentification},
        {"type 0, no picture", with([](TestTGA& t) { t.imageType = 0; }), ErrorCode::TgaUnsupportedImageType},
        {"type 8", with([](TestTGA& t) { t.imageType = 8; }), ErrorCode::TgaUnsupportedImageType},
        {"Huffman type 32", with([](TestTGA& t) { t.imageType = 32; }), ErrorCode::TgaUnsupportedImageType},
        {"colour map type 2", with([](TestTGA& t) { t.colourMapType = 2; }), ErrorCode::TgaUnsupportedColourMap},
        {"mapped without a map", with([](TestTGA& t) { t.colourMapType = 0; }), ErrorCode::TgaUnsupportedColourMap},
        {"8-bit map entries", with([](TestTGA& t) { t.entryBits = 8; }), ErrorCode::TgaUnsupportedColourMap},
        {"32-bit indices", with([](TestTGA& t) { t.pixelBits = 32; }), ErrorCode::TgaUnsupportedPixelDepth},
        {"24-bit grey", with([](TestTGA& t) { t.imageType = 3, t.colourMapType = 0, t.pixelBits = 24; }),
         ErrorCode::TgaUnsupportedPixelDepth},
        {"8-bit true colour", with([](TestTGA& t) { t.imageType = 2, t.colourMapType = 0; }), ErrorCode::TgaUnsupportedPixelDepth},
        {"0 wide", with([](TestTGA& t) { t.width = 0; }), ErrorCode::TgaEmptyPicture},
        {"0 high", with([](TestTGA& t) { t.height = 0; }), ErrorCode::TgaEmptyPicture},
        {"map cut", with([](TestTGA& t) { t.mapLength = 5; }), ErrorCode::TgaTruncatedColourMap},
        {"pixels cut", with([](TestTGA& t) { t.body.pop_back(); }), ErrorCode::TgaTruncatedPixelData},
        {"lying size", with([](TestTGA& t) { t.width = t.height = 65535; }), ErrorCode::TgaTruncatedPixelData},
        {"run packet without its pixel", with([](TestTGA& t) { t.imageType = 9, t.body.resize(9), t.body.push_back(0x81); }),
         ErrorCode::TgaTruncatedPixelData},
        {"raw packet cut", with([](TestTGA& t) { t.imageType = 9, t.body.resize(9), t.body.insert(t.body.end(), {0x03, 0, 1, 2}); }),
         ErrorCode::TgaTruncatedPixelData},
        {"RLE ends early", with([](TestTGA& t) { t.imageType = 9, t.body.resize(9), t.body.insert(t.body.end(), {0x82, 1}); }),
         ErrorCode::TgaTruncatedPixelData},
        {"index past the map", with([](TestTGA& t) { t.body.back() = 3; }), ErrorCode::TgaIndexOutsideColourMap},
        {"index below the first entry", with([](TestTGA& t) { t.firstEntry = 1, t.body.back() = 0; }), ErrorCode::TgaIndexOutsideColourMap},
    };
    for (const auto& c : cases) {
        const Result<Image> image = decodeTGA(c.bytes);
        ASSERT_FALSE(image) << c.name;
        EXPECT_EQ(image.error().code, c.expected) << c.name;
    }
}

TEST(TGADecoder, ReadsWhatBrokenFilesStillHold)
{
    // A run packet reaching past the last pixel is cut there.
    TestTGA overrun;
    overrun.imageType = 9;
    overrun.body.resize(9);
    overrun.body.insert(overrun.body.end(), {0x80 | 9, 1});
    const Result<Image> image = decodeTGA(overrun.bytes());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, Bytes({0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255}));

    // The header alone answers the info call, whatever follows it.
    TestTGA cut;
    cut.body.clear();
    const Result<TGAInfo> info = readTGAInfo(cut.bytes());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 2u);
    EXPECT_EQ(info->bitsPerPixel, 8u);
    EXPECT_EQ(readTGAInfo(Bytes(17, 0)).error().code, ErrorCode::TgaTruncatedHeader);
}

TEST(TGADecoder, AlphaFollowsThePixelSize)
{
    const auto decodeOne = [](std::uint8_t pixelBits, std::uint8_t descriptor, Bytes pixel) {
        TestTGA tga;
        tga.colourMapType = 0, tga.mapLength = 0, tga.entryBits = 0, tga.imageType = 2;
        tga.width = tga.height = 1;
        tga.pixelBits = pixelBits, tga.descriptor = descriptor;
        tga.body = std::move(pixel);
        const Result<Image> image = decodeTGA(tga.bytes());
        return image ? image->pixels : Bytes{};
    };
    // 0x7C00 is pure red with the top bit clear; 5-bit 3 widens to 25.
    EXPECT_EQ(decodeOne(16, 0x21, {0x00, 0x7C}), Bytes({255, 0, 0, 0}));
    EXPECT_EQ(decodeOne(16, 0x21, {0x00, 0xFC}), Bytes({255, 0, 0, 255}));
    EXPECT_EQ(decodeOne(16, 0x20, {0x00, 0x7C}), Bytes({255, 0, 0, 255})); // no attribute bit: opaque
    EXPECT_EQ(decodeOne(15, 0x20, {0x63, 0x0C}), Bytes({25, 25, 25, 255}));
    EXPECT_EQ(decodeOne(24, 0x20, {0x00, 0x00, 0xFF}), Bytes({255, 0, 0, 255}));
    EXPECT_EQ(decodeOne(32, 0x20, {0x10, 0x20, 0x30, 0x40}), Bytes({0x30, 0x20, 0x10, 0x40}));
}

} // namespace
} // namespace larkspan
