// Textures written by ImageMagick, libsquish and the fixture script, against
// Pillow's decodes (see tests/data/dds/make_fixtures.py).
#include "DDSTestFiles.h"

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

// Pillow truncates the thirds, halves, sevenths and fifths that S3TC
// interpolates where we round to nearest, so a compressed texel may stray
// by 1 per channel; the hand-made blocks check those values exactly.
int tolerance(DDSDataFormat format)
{
    return format == DDSDataFormat::DXT1 || format == DDSDataFormat::DXT3 || format == DDSDataFormat::DXT5 ? 1 : 0;
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
    int mismatches = 0;
    for (std::size_t at = 0; at < reference.size(); ++at) {
        const int difference = std::abs(int(image->pixels[at]) - int(reference[at]));
        if (difference > tolerance(f.format) && ++mismatches <= 5)
            ADD_FAILURE() << "texel " << at / 4 % f.width << "," << at / 4 / f.width << " channel " << at % 4 << ": "
                          << int(image->pixels[at]) << " against " << int(reference[at]);
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
