#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace larkspan::lzo1x {

inline std::uint32_t load32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// How far the bytes at `a` and at the earlier `b` agree, counting from
// `known` (already equal), without reading at or past `end` from `a`.
inline std::size_t matchLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t known,
                               const std::uint8_t* end)
{
    static_assert(std::endian::native == std::endian::little, "the first differing byte is the lowest one");
    std::size_t length = known;
    while (end - (a + length) >= 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y)
            return length + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        length += 8;
    }
    while (a + length < end && a[length] == b[length])
        ++length;
    return length;
}

} // namespace larkspan::lzo1x
