#pragma once

// The one place that reads and writes the little-endian integers of the
// game's files (archives, DDS, TGA, RAW, LZO streams).

#include "base/Bytes.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace larkspan {

namespace byteorder {

// Spelled out byte by byte so that every compiler folds it into one load.
template <std::unsigned_integral T, std::size_t... Byte>
constexpr T littleEndian(const std::uint8_t* p, std::index_sequence<Byte...>)
{
    return static_cast<T>(((static_cast<T>(p[Byte]) << (8 * Byte)) | ...));
}

template <std::unsigned_integral T>
constexpr T littleEndian(const std::uint8_t* p)
{
    return littleEndian<T>(p, std::make_index_sequence<sizeof(T)>());
}

// The integer at `position`, or 0 when its bytes do not lie wholly inside.
template <std::unsigned_integral T>
constexpr T littleEndianAtPosition(ByteSpan bytes, std::uint64_t position)
{
    if (position > bytes.size() || bytes.size() - position < sizeof(T))
        return 0;
    return littleEndian<T>(bytes.data() + position);
}

} // namespace byteorder

// Reads at a pointer, for decoders that have checked the bytes lie inside.
constexpr std::uint16_t littleEndian16(const std::uint8_t* p)
{
    return byteorder::littleEndian<std::uint16_t>(p);
}

constexpr std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return byteorder::littleEndian<std::uint32_t>(p);
}

constexpr std::uint64_t littleEndian64(const std::uint8_t* p)
{
    return byteorder::littleEndian<std::uint64_t>(p);
}

// The LE32 at `position`, or 0 when the four bytes do not lie wholly inside.
inline std::uint32_t littleIntAtPosition(ByteSpan bytes, std::uint64_t position)
{
    return byteorder::littleEndianAtPosition<std::uint32_t>(bytes, position);
}

// The LE16 at `position`, or 0 when the two bytes do not lie wholly inside.
inline std::uint16_t littleShortAtPosition(ByteSpan bytes, std::uint64_t position)
{
    return byteorder::littleEndianAtPosition<std::uint16_t>(bytes, position);
}

inline void appendLittleInt(Bytes& bytes, std::uint32_t value)
{
    const std::uint8_t le[4] = {std::uint8_t(value), std::uint8_t(value >> 8),
                                std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
    bytes.insert(bytes.end(), le, le + 4);
}

// Overwrites the four bytes at `position`, which must lie inside.
inline void replaceBytesInRange(Bytes& bytes, std::size_t position, std::uint32_t value)
{
    bytes.at(position + 3);
    bytes[position] = std::uint8_t(value);
    bytes[position + 1] = std::uint8_t(value >> 8);
    bytes[position + 2] = std::uint8_t(value >> 16);
    bytes[position + 3] = std::uint8_t(value >> 24);
}

} // namespace larkspan
