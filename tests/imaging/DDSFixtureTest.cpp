// Textures written by ImageMagick, libsquish and the fixture script, against
// Pillow's decodes (see tests/data/dds/make_fixtures.py).
#include "DDSTestFiles.h"

#include "base/ByteOrder.h"
#include "imaging/DDSDrawToImage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace larkspan::test {
namespace {

struct Fixture {
    std::string file;
    std::string reference;
    DDSDataFormat format;
    std::int32_t width, height;
};

// Every texture of tests/data/dds, named FORMAT_WxH[_mips].dds beside its
// decode FORMAT_WxH.rgba (a "dxt1a" texture is DXT1 with transparent texels).
std::vector<Fixture> fixtures()
{
    const std::pair<const char*, DDSDataFormat> formats[] = {
        {"dxt1", DDSDataFormat::DXT1},         {"dxt1a", DDSDataFormat::DXT1},        {"dxt3", DDSDataFormat::DXT3},
        {"dxt5", DDSDataFormat::DXT5},         {"a1r5g5b5", DDSDataFormat::A1R5G5B5}, {"a4r4g4b4", DDSDataFormat::A4R4G4B4},
        {"r5g6b5", DDSDataFormat::R5G6B5},     {"r8g8b8", DDSDataFormat::R8G8B8},     {"a8r8g8b8", DDSDataFormat::A8R8G8B8},
    };
    std::vector<Fixture> found;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LARKSPAN_TEST_DATA) + "/dds")) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".dds")
            continue;
        const std::string stem = file.substr(0, file.find("_mips.dds") != std::string::npos ? file.size() - 9 : file.size() - 4);
        const std::size_t underscore = stem.find('_'), x = stem.find('x', underscore);
        const auto format = std::find_if(std::begin(formats), std::end(formats),
                                         [&](const auto& f) { return stem.substr(0, underscore) == f.first; });
        if (format == std::end(formats) || x == std::string::npos)
            found.push_back({file, "", {}, 0, 0}); // fails: a name the pattern does not fit
        else
            found.push_back({file, stem + ".rgba", format->second, std::stoi(stem.substr(underscore + 1)),
                             std::stoi(stem.substr(x + 1))});
    }
    std::sort(found.begin(), found.end(), [](const Fixture& a, const Fixture& b) { return a.file < b.file; });
    return found;
}

// How far a texel may stray from Pillow's decode. Pillow truncates the
// thirds, halves, sevenths and fifths that S3TC interpolates; we round to
// nearest, so interpolated colours and DXT5 alphas may differ by 1 per
// channel. Endpoints, transparent black, DXT3 alpha, DXT5's fixed 0 and 255
// and every uncompressed texel must match exactly.
struct Tolerance {
    int colour = 0;
    int alpha = 0;
};

Tolerance tolerance(DDSDataFormat format, std::span<const std::uint8_t> level, std::int32_t width, int x, int y)
{
    if (format != DDSDataFormat::DXT1 && format != DDSDataFormat::DXT3 && format != DDSDataFormat::DXT5)
        return {};
    const std::size_t blockBytes = format == DDSDataFormat::DXT1 ? 8 : 16;
    const std::uint8_t* block = level.data() + (std::size_t(y / 4) * ((width + 3) / 4) + x / 4) * blockBytes;
    const unsigned texel = unsigned(y % 4 * 4 + x % 4);
    const std::uint8_t* colours = format == DDSDataFormat::DXT1 ? block : block + 8;
    const unsigned colourIndex = (littleEndian32(colours + 4) >> (2 * texel)) & 3;
    const bool threeColours = format == DDSDataFormat::DXT1 && littleEndian16(colours) <= littleEndian16(colours + 2);
    Tolerance result;
    result.colour = colourIndex >= 2 && !(threeColours && colourIndex == 3) ? 1 : 0;
    if (format == DDSDataFormat::DXT5) {
        const unsigned alphaIndex = unsigned(littleEndian64(block) >> (16 + 3 * texel)) & 7;
        result.alpha = alphaIndex >= 2 && (block[0] > block[1] || alphaIndex <= 5) ? 1 : 0;
    }
    return result;
}

void PrintTo(const Fixture& f, std::ostream* os)
{
    *os << f.file;
}

class DDSFixtures : public testing::TestWithParam<Fixture> {};

TEST_P(DDSFixtures, MatchPillowsDecode)
{
    const Fixture& f = GetParam();
    const DDSHandle dds = openDDS(fixture(f.file));
    ASSERT_TRUE(dds);
    EXPECT_EQ(DDSGetDataFormat(dds.get()), f.format);
    const auto image = DDSCreateImage(dds.get(), std::uint32_t(f.width), std::uint32_t(f.height));
    ASSERT_TRUE(image);
    const std::vector<std::uint8_t> reference = fixture(f.reference);
    ASSERT_EQ(image->pixels.size(), reference.size());
    const auto level = *DDSGetDataForMipmapLevel(dds.get(), 0);
    int mismatches = 0;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            const Tolerance allowed = tolerance(f.format, level, f.width, x, y);
            for (int c = 0; c < 4; ++c) {
                const std::size_t at = (std::size_t(y) * f.width + x) * 4 + c;
                const int difference = std::abs(int(image->pixels[at]) - int(reference[at]));
                if (difference > (c == 3 ? allowed.alpha : allowed.colour) && ++mismatches <= 5)
                    ADD_FAILURE() << "texel " << x << "," << y << " channel " << c << ": " << int(image->pixels[at])
                                  << " against " << int(reference[at]);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, DDSFixtures, testing::ValuesIn(fixtures()),
                         [](const testing::TestParamInfo<Fixture>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.size() - 4);
                         });

} // namespace
} // namespace larkspan::test
