#include "imaging/DXTDecoder.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>

namespace larkspan {

namespace {

// One texel as the four bytes red, green, blue, alpha in memory order, so
// alpha can be or-ed in and a texel stored with one 4-byte copy.
using Texel = std::uint32_t;

constexpr Texel pack(unsigned r, unsigned g, unsigned b, unsigned a)
{
    if constexpr (std::endian::native == std::endian::little)
        return Texel(r | g << 8 | b << 16 | a << 24);
    else
        return Texel(r << 24 | g << 16 | b << 8 | a);
}

constexpr Texel kAlphaBits = pack(0, 0, 0, 255);

struct RGB {
    unsigned r, g, b;
};

// Endpoints widen by bit replication, the expansion S3TC encoders assume.
RGB endpoint(std::uint16_t c)
{
    const unsigned r = c >> 11, g = (c >> 5) & 0x3F, b = c & 0x1F;
    return {r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2};
}

// (wa·x + wb·y) / (wa + wb) per channel, rounded to nearest; constant weights
// keep the division a multiplication.
template <unsigned Wa, unsigned Wb>
Texel blend(const RGB& x, const RGB& y)
{
    constexpr unsigned total = Wa + Wb;
    return pack((x.r * Wa + y.r * Wb + total / 2) / total, (x.g * Wa + y.g * Wb + total / 2) / total,
                (x.b * Wa + y.b * Wb + total / 2) / total, 255);
}

// DXT3 and DXT5 colour blocks always use the four-colour mode; DXT1 switches
// to three colours and transparent black when colour 0 is not above colour 1.
template <bool AlwaysFourColours>
std::array<Texel, 4> colourPalette(const std::uint8_t* block)
{
    const std::uint16_t c0 = littleEndian16(block), c1 = littleEndian16(block + 2);
    const RGB e0 = endpoint(c0), e1 = endpoint(c1);
    std::array<Texel, 4> palette{pack(e0.r, e0.g, e0.b, 255), pack(e1.r, e1.g, e1.b, 255)};
    if (AlwaysFourColours || c0 > c1) {
        palette[2] = blend<2, 1>(e0, e1);
        palette[3] = blend<1, 2>(e0, e1);
    } else {
        palette[2] = blend<1, 1>(e0, e1);
        palette[3] = pack(0, 0, 0, 0);
    }
    return palette;
}

// The eight alphas a DXT5 alpha block's 3-bit indices choose from, as texel alpha bits.
inline std::array<Texel, 8> alphaPalette(unsigned a0, unsigned a1)
{
    std::array<Texel, 8> alphas{pack(0, 0, 0, a0), pack(0, 0, 0, a1)};
    if (a0 > a1) {
        for (unsigned i = 1; i < 7; ++i)
            alphas[i + 1] = pack(0, 0, 0, ((7 - i) * a0 + i * a1 + 3) / 7);
    } else {
        for (unsigned i = 1; i < 5; ++i)
            alphas[i + 1] = pack(0, 0, 0, ((5 - i) * a0 + i * a1 + 2) / 5);
        alphas[6] = pack(0, 0, 0, 0);
        alphas[7] = pack(0, 0, 0, 255);
    }
    return alphas;
}

void put(std::uint8_t* at, Texel texel)
{
    std::memcpy(at, &texel, 4);
}

// Writes a block's 4x4 texels, rows `bytesPerRow` apart. Row y's 2-bit colour
// indices are byte y of the colour indices, its 3-bit alpha indices bits 12y
// to 12y + 11 of the alpha indices.
template <DDSDataFormat Format>
void decodeBlock(const std::uint8_t* block, std::uint8_t* out, std::size_t bytesPerRow)
{
    if constexpr (Format == DDSDataFormat::DXT1) {
        const std::array<Texel, 4> colours = colourPalette<false>(block);
        for (unsigned y = 0; y < 4; ++y, out += bytesPerRow) {
            const unsigned row = block[4 + y];
#pragma GCC unroll 4
            for (unsigned x = 0; x < 4; ++x)
                put(out + 4 * x, colours[(row >> (2 * x)) & 3]);
        }
        return;
    }
    std::array<Texel, 4> colours = colourPalette<true>(block + 8);
    for (Texel& colour : colours)
        colour &= ~kAlphaBits;
    if constexpr (Format == DDSDataFormat::DXT3) {
        for (unsigned y = 0; y < 4; ++y, out += bytesPerRow) {
            const unsigned row = block[12 + y], alphaRow = littleEndian16(block + 2 * y);
#pragma GCC unroll 4
            for (unsigned x = 0; x < 4; ++x)
                put(out + 4 * x, colours[(row >> (2 * x)) & 3] | pack(0, 0, 0, ((alphaRow >> (4 * x)) & 0xF) * 17));
        }
    } else {
        const std::array<Texel, 8> alphas = alphaPalette(block[0], block[1]);
        const std::uint64_t alphaIndices = littleEndian64(block) >> 16;
        for (unsigned y = 0; y < 4; ++y, out += bytesPerRow) {
            const unsigned row = block[12 + y], alphaRow = unsigned(alphaIndices >> (12 * y)) & 0xFFF;
#pragma GCC unroll 4
            for (unsigned x = 0; x < 4; ++x)
                put(out + 4 * x, colours[(row >> (2 * x)) & 3] | alphas[(alphaRow >> (3 * x)) & 7]);
        }
    }
}

// Blocks inside the level are written in place; one that hangs over the right
// or bottom edge goes through a scratch block and only its inner part is kept.
template <DDSDataFormat Format>
void decodeBlocks(const std::uint8_t* block, DDSLevelSize size, std::uint8_t* rgba, std::size_t bytesPerRow)
{
    constexpr std::size_t blockBytes = Format == DDSDataFormat::DXT1 ? 8 : 16;
    std::uint8_t scratch[64];
    for (std::uint64_t top = 0; top < size.height; top += 4) {
        const std::size_t rows = std::min<std::uint64_t>(4, size.height - top);
        std::uint8_t* row = rgba + top * bytesPerRow;
        for (std::uint64_t left = 0; left < size.width; left += 4, block += blockBytes) {
            const std::size_t columns = std::min<std::uint64_t>(4, size.width - left);
            const bool inside = rows == 4 && columns == 4;
            decodeBlock<Format>(block, inside ? row + left * 4 : scratch, inside ? bytesPerRow : 16);
            if (inside)
                continue;
            for (std::size_t y = 0; y < rows; ++y)
                std::memcpy(row + left * 4 + y * bytesPerRow, scratch + 16 * y, columns * 4);
        }
    }
}

} // namespace

void decodeDXTLevel(DDSDataFormat format, std::span<const std::uint8_t> level, DDSLevelSize size,
                    std::uint8_t* rgba, std::size_t bytesPerRow)
{
    assert(level.size() == ddsLevelByteCount(format, size));
    switch (format) {
    case DDSDataFormat::DXT1:
        return decodeBlocks<DDSDataFormat::DXT1>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::DXT3:
        return decodeBlocks<DDSDataFormat::DXT3>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::DXT5:
        return decodeBlocks<DDSDataFormat::DXT5>(level.data(), size, rgba, bytesPerRow);
    default:
        assert(false && "not a DXT format");
    }
}

} // namespace larkspan
