#pragma once

#include "base/Bytes.h"

#include <cstdint>

namespace larkspan {

// The LE32 at `position`, or 0 when the four bytes do not lie wholly inside.
inline std::uint32_t littleIntAtPosition(ByteSpan bytes, std::uint64_t position)
{
    if (position > bytes.size() || bytes.size() - position < 4)
        return 0;
    const std::uint8_t* p = bytes.data() + position;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
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
