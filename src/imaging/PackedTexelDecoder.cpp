#include "imaging/PackedTexelDecoder.h"

#include "base/ByteOrder.h"

#include <array>
#include <cassert>

namespace larkspan {

namespace {

template <unsigned Bits>
constexpr std::array<std::uint8_t, (1u << Bits)> nearestBytes()
{
    constexpr unsigned top = (1u << Bits) - 1;
    std::array<std::uint8_t, (1u << Bits)> table{};
    for (unsigned c = 0; c <= top; ++c)
        table[c] = std::uint8_t((c * 255 + top / 2) / top);
    return table;
}

constexpr auto kFrom4Bits = nearestBytes<4>();
constexpr auto kFrom5Bits = nearestBytes<5>();
constexpr auto kFrom6Bits = nearestBytes<6>();

void decodeTexel(DDSDataFormat format, const std::uint8_t* in, std::uint8_t* out)
{
    switch (format) {
    case DDSDataFormat::A1R5G5B5: {
        const std::uint16_t w = littleEndian16(in);
        out[0] = kFrom5Bits[(w >> 10) & 0x1F];
        out[1] = kFrom5Bits[(w >> 5) & 0x1F];
        out[2] = kFrom5Bits[w & 0x1F];
        out[3] = (w & 0x8000) ? 255 : 0;
        return;
    }
    case DDSDataFormat::A4R4G4B4: {
        const std::uint16_t w = littleEndian16(in);
        out[0] = kFrom4Bits[(w >> 8) & 0xF];
        out[1] = kFrom4Bits[(w >> 4) & 0xF];
        out[2] = kFrom4Bits[w & 0xF];
        out[3] = kFrom4Bits[w >> 12];
        return;
    }
    case DDSDataFormat::R5G6B5: {
        const std::uint16_t w = littleEndian16(in);
        out[0] = kFrom5Bits[w >> 11];
        out[1] = kFrom6Bits[(w >> 5) & 0x3F];
        out[2] = kFrom5Bits[w & 0x1F];
        out[3] = 255;
        return;
    }
    case DDSDataFormat::R8G8B8:
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 255;
        return;
    case DDSDataFormat::A8R8G8B8:
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = in[3];
        return;
    default:
        assert(false && "not an uncompressed format");
    }
}

template <DDSDataFormat Format>
void decodeRows(const std::uint8_t* in, DDSLevelSize size, std::uint8_t* rgba, std::size_t bytesPerRow)
{
    constexpr std::size_t texelBytes = ddsLevelByteCount(Format, {1, 1});
    for (std::uint64_t y = 0; y < size.height; ++y) {
        std::uint8_t* out = rgba + y * bytesPerRow;
        for (std::uint64_t x = 0; x < size.width; ++x, in += texelBytes, out += 4)
            decodeTexel(Format, in, out);
    }
}

} // namespace

void decodePackedLevel(DDSDataFormat format, std::span<const std::uint8_t> level, DDSLevelSize size,
                       std::uint8_t* rgba, std::size_t bytesPerRow)
{
    assert(level.size() == ddsLevelByteCount(format, size));
    switch (format) {
    case DDSDataFormat::A1R5G5B5:
        return decodeRows<DDSDataFormat::A1R5G5B5>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::A4R4G4B4:
        return decodeRows<DDSDataFormat::A4R4G4B4>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::R5G6B5:
        return decodeRows<DDSDataFormat::R5G6B5>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::R8G8B8:
        return decodeRows<DDSDataFormat::R8G8B8>(level.data(), size, rgba, bytesPerRow);
    case DDSDataFormat::A8R8G8B8:
        return decodeRows<DDSDataFormat::A8R8G8B8>(level.data(), size, rgba, bytesPerRow);
    default:
        assert(false && "not an uncompressed format");
    }
}

} // namespace larkspan
