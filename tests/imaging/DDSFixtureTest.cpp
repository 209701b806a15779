// Textures written by ImageMagick, libsquish and the fixture script, against
// Pillow's decodes (see tests/data/dds/make_fixtures.py).
#include "DDSTestFiles.h"

#include "base/ByteOrder.h"
#include "imaging/DDSDrawToImage.h"

#include <cstdlib>

namespace larkspan::test {
namespace {

struct Fixture {
    const char* file;
    const char* reference;
    DDSDataFormat format;
    std::int32_t width, height;
};

const Fixture kFixtures[] = {
    {"dxt1_1x1.dds", "dxt1_1x1.rgba", DDSDataFormat::DXT1, 1, 1},
    {"dxt1_3x5.dds", "dxt1_3x5.rgba", DDSDataFormat::DXT1, 3, 5},
    {"dxt1_4x4.dds", "dxt1_4x4.rgba", DDSDataFormat::DXT1, 4, 4},
    {"dxt1_4x4_mips.dds", "dxt1_4x4.rgba", DDSDataFormat::DXT1, 4, 4},
    {"dxt1_13x7.dds", "dxt1_13x7.rgba", DDSDataFormat::DXT1, 13, 7},
    {"dxt1_256x128.dds", "dxt1_256x128.rgba", DDSDataFormat::DXT1, 256, 128},
    {"dxt1_256x128_mips.dds", "dxt1_256x128.rgba", DDSDataFormat::DXT1, 256, 128},
    {"dxt1a_13x7.dds", "dxt1a_13x7.rgba", DDSDataFormat::DXT1, 13, 7},
    {"dxt1a_13x7_mips.dds", "dxt1a_13x7.rgba", DDSDataFormat::DXT1, 13, 7},
    {"dxt3_1x1.dds", "dxt3_1x1.rgba", DDSDataFormat::DXT3, 1, 1},
    {"dxt3_3x5.dds", "dxt3_3x5.rgba", DDSDataFormat::DXT3, 3, 5},
    {"dxt3_3x5_mips.dds", "dxt3_3x5.rgba", DDSDataFormat::DXT3, 3, 5},
    {"dxt3_4x4.dds", "dxt3_4x4.rgba", DDSDataFormat::DXT3, 4, 4},
    {"dxt3_4x4_mips.dds", "dxt3_4x4.rgba", DDSDataFormat::DXT3, 4, 4},
    {"dxt3_13x7.dds", "dxt3_13x7.rgba", DDSDataFormat::DXT3, 13, 7},
    {"dxt3_13x7_mips.dds", "dxt3_13x7.rgba", DDSDataFormat::DXT3, 13, 7},
    {"dxt3_256x128.dds", "dxt3_256x128.rgba", DDSDataFormat::DXT3, 256, 128},
    {"dxt3_256x128_mips.dds", "dxt3_256x128.rgba", DDSDataFormat::DXT3, 256, 128},
    {"dxt5_1x1.dds", "dxt5_1x1.rgba", DDSDataFormat::DXT5, 1, 1},
    {"dxt5_3x5.dds", "dxt5_3x5.rgba", DDSDataFormat::DXT5, 3, 5},
    {"dxt5_4x4.dds", "dxt5_4x4.rgba", DDSDataFormat::DXT5, 4, 4},
    {"dxt5_4x4_mips.dds", "dxt5_4x4.rgba", DDSDataFormat::DXT5, 4, 4},
    {"dxt5_13x7.dds", "dxt5_13x7.rgba", DDSDataFormat::DXT5, 13, 7},
    {"dxt5_256x128.dds", "dxt5_256x128.rgba", DDSDataFormat::DXT5, 256, 128},
    {"dxt5_256x128_mips.dds", "dxt5_256x128.rgba", DDSDataFormat::DXT5, 256, 128},
    {"a1r5g5b5_1x1.dds", "a1r5g5b5_1x1.rgba", DDSDataFormat::A1R5G5B5, 1, 1},
    {"a1r5g5b5_3x5.dds", "a1r5g5b5_3x5.rgba", DDSDataFormat::A1R5G5B5, 3, 5},
    {"a1r5g5b5_13x7.dds", "a1r5g5b5_13x7.rgba", DDSDataFormat::A1R5G5B5, 13, 7},
    {"a1r5g5b5_13x7_mips.dds", "a1r5g5b5_13x7.rgba", DDSDataFormat::A1R5G5B5, 13, 7},
    {"a4r4g4b4_1x1.dds", "a4r4g4b4_1x1.rgba", DDSDataFormat::A4R4G4B4, 1, 1},
    {"a4r4g4b4_3x5.dds", "a4r4g4b4_3x5.rgba", DDSDataFormat::A4R4G4B4, 3, 5},
    {"a4r4g4b4_13x7.dds", "a4r4g4b4_13x7.rgba", DDSDataFormat::A4R4G4B4, 13, 7},
    {"a4r4g4b4_13x7_mips.dds", "a4r4g4b4_13x7.rgba", DDSDataFormat::A4R4G4B4, 13, 7},
    {"r5g6b5_1x1.dds", "r5g6b5_1x1.rgba", DDSDataFormat::R5G6B5, 1, 1},
    {"r5g6b5_3x5.dds", "r5g6b5_3x5.rgba", DDSDataFormat::R5G6B5, 3, 5},
    {"r5g6b5_13x7.dds", "r5g6b5_13x7.rgba", DDSDataFormat::R5G6B5, 13, 7},
    {"r5g6b5_13x7_mips.dds", "r5g6b5_13x7.rgba", DDSDataFormat::R5G6B5, 13, 7},
    {"r8g8b8_1x1.dds", "r8g8b8_1x1.rgba", DDSDataFormat::R8G8B8, 1, 1},
    {"r8g8b8_3x5.dds", "r8g8b8_3x5.rgba", DDSDataFormat::R8G8B8, 3, 5},
    {"r8g8b8_13x7.dds", "r8g8b8_13x7.rgba", DDSDataFormat::R8G8B8, 13, 7},
    {"r8g8b8_13x7_mips.dds", "r8g8b8_13x7.rgba", DDSDataFormat::R8G8B8, 13, 7},
    {"a8r8g8b8_1x1.dds", "a8r8g8b8_1x1.rgba", DDSDataFormat::A8R8G8B8, 1, 1},
    {"a8r8g8b8_3x5.dds", "a8r8g8b8_3x5.rgba", DDSDataFormat::A8R8G8B8, 3, 5},
    {"a8r8g8b8_13x7.dds", "a8r8g8b8_13x7.rgba", DDSDataFormat::A8R8G8B8, 13, 7},
    {"a8r8g8b8_13x7_mips.dds", "a8r8g8b8_13x7.rgba", DDSDataFormat::A8R8G8B8, 13, 7},
};

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

INSTANTIATE_TEST_SUITE_P(Files, DDSFixtures, testing::ValuesIn(kFixtures),
                         [](const testing::TestParamInfo<Fixture>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.size() - 4);
                         });

} // namespace
} // namespace larkspan::test
