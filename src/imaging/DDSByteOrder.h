#pragma once

#include <cstdint>

namespace larkspan {

// Little-endian reads for bytes the caller has already bounds-checked.
inline std::uint16_t ddsLE16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

inline std::uint32_t ddsLE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline std::uint64_t ddsLE64(const std::uint8_t* p)
{
    return std::uint64_t(ddsLE32(p)) | std::uint64_t(ddsLE32(p + 4)) << 32;
}

} // namespace larkspan
