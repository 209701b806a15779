#include "dds/DXTDecoder.h"

#include "dds/DDSByteOrder.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

namespace larkspan {

namespace {

using Texel = std::array<std::uint8_t, 4>; // red, green, blue, alpha
using BlockTexels = std::array<Texel, 16>; // 4 rows of 4, top row first

// Endpoints widen by bit replication, the expansion S3TC encoders assume.
Texel endpoint(std::uint16_t c)
{
    const unsigned r = c >> 11, g = (c >> 5) & 0x3F, b = c & 0x1F;
    return {std::uint8_t(r << 3 | r >> 2), std::uint8_t(g << 2 | g >> 4), std::uint8_t(b << 3 | b >> 2), 255};
}

// (wa·a + wb·b) / (wa + wb), rounded to nearest.
std::uint8_t blend(unsigned a, unsigned wa, unsigned b, unsigned wb)
{
    const unsigned total = wa + wb;
    return std::uint8_t((a * wa + b * wb + total / 2) / total);
}

Texel blend(const Texel& a, unsigned wa, const Texel& b, unsigned wb)
{
    return {blend(a[0], wa, b[0], wb), blend(a[1], wa, b[1], wb), blend(a[2], wa, b[2], wb), 255};
}

// DXT3 and DXT5 colour blocks always use the four-colour mode; DXT1 switches
// to three colours and transparent black when colour 0 is not above colour 1.
void decodeColourBlock(const std::uint8_t* block, bool alwaysFourColours, BlockTexels& texels)
{
    const std::uint16_t c0 = ddsLE16(block), c1 = ddsLE16(block + 2);
    std::array<Texel, 4> palette{endpoint(c0), endpoint(c1)};
    if (c0 > c1 || alwaysFourColours) {
        palette[2] = blend(palette[0], 2, palette[1], 1);
        palette[3] = blend(palette[0], 1, palette[1], 2);
    } else {
        palette[2] = blend(palette[0], 1, palette[1], 1);
        palette[3] = {0, 0, 0, 0};
    }
    const std::uint32_t indices = ddsLE32(block + 4);
    for (unsigned i = 0; i < 16; ++i)
        texels[i] = palette[(indices >> (2 * i)) & 3];
}

void applyExplicitAlpha(const std::uint8_t* block, BlockTexels& texels)
{
    const std::uint64_t alphas = ddsLE64(block);
    for (unsigned i = 0; i < 16; ++i)
        texels[i][3] = std::uint8_t(((alphas >> (4 * i)) & 0xF) * 17);
}

void applyInterpolatedAlpha(const std::uint8_t* block, BlockTexels& texels)
{
    const unsigned a0 = block[0], a1 = block[1];
    std::array<std::uint8_t, 8> table{std::uint8_t(a0), std::uint8_t(a1)};
    if (a0 > a1) {
        for (unsigned i = 1; i < 7; ++i)
            table[i + 1] = blend(a0, 7 - i, a1, i);
    } else {
        for (unsigned i = 1; i < 5; ++i)
            table[i + 1] = blend(a0, 5 - i, a1, i);
        table[6] = 0;
        table[7] = 255;
    }
    const std::uint64_t indices = ddsLE64(block) >> 16; // 48 bits of 3-bit indices
    for (unsigned i = 0; i < 16; ++i)
        texels[i][3] = table[(indices >> (3 * i)) & 7];
}

template <DDSDataFormat Format>
void decodeBlock(const std::uint8_t* block, BlockTexels& texels)
{
    if constexpr (Format == DDSDataFormat::DXT1) {
        decodeColourBlock(block, false, texels);
    } else {
        decodeColourBlock(block + 8, true, texels);
        if constexpr (Format == DDSDataFormat::DXT3)
            applyExplicitAlpha(block, texels);
        else
            applyInterpolatedAlpha(block, texels);
    }
}

void storeBlock(const BlockTexels& texels, std::uint8_t* to, std::size_t bytesPerRow, std::size_t columns,
                std::size_t rows)
{
    if (columns == 4 && rows == 4) {
        for (std::size_t y = 0; y < 4; ++y)
            std::memcpy(to + y * bytesPerRow, &texels[4 * y], 16);
        return;
    }
    for (std::size_t y = 0; y < rows; ++y)
        std::memcpy(to + y * bytesPerRow, &texels[4 * y], columns * 4);
}

template <DDSDataFormat Format>
void decodeBlocks(const std::uint8_t* block, DDSLevelSize size, std::uint8_t* rgba, std::size_t bytesPerRow)
{
    constexpr std::size_t blockBytes = Format == DDSDataFormat::DXT1 ? 8 : 16;
    BlockTexels texels;
    for (std::uint64_t top = 0; top < size.height; top += 4) {
        const std::size_t rows = std::min<std::uint64_t>(4, size.height - top);
        std::uint8_t* row = rgba + top * bytesPerRow;
        for (std::uint64_t left = 0; left < size.width; left += 4, block += blockBytes) {
            decodeBlock<Format>(block, texels);
            storeBlock(texels, row + left * 4, bytesPerRow, std::min<std::uint64_t>(4, size.width - left), rows);
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
