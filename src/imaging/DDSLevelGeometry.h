#pragma once

#include "imaging/OpenDDSFile.h"

#include <algorithm>
#include <cstdint>

namespace larkspan {

inline constexpr std::uint64_t kDDSPixelDataOffset = 128;

// A level's texel size, each side at least 1.
struct DDSLevelSize {
    std::uint64_t width = 1;
    std::uint64_t height = 1;
    friend bool operator==(const DDSLevelSize&, const DDSLevelSize&) = default;
};

// The top level's size: the header's width and height, each at least 1.
inline DDSLevelSize ddsTopLevelSize(const DDSFile* dds)
{
    return {std::uint64_t(std::max<std::int32_t>(DDSGetWidth(dds), 1)),
            std::uint64_t(std::max<std::int32_t>(DDSGetHeight(dds), 1))};
}

// Bytes one level occupies. Sides below 2^31 keep every product inside 64 bits.
constexpr std::uint64_t ddsLevelByteCount(DDSDataFormat format, DDSLevelSize size)
{
    const std::uint64_t blocks = ((size.width + 3) / 4) * ((size.height + 3) / 4);
    switch (format) {
    case DDSDataFormat::DXT1:
        return blocks * 8;
    case DDSDataFormat::DXT3:
    case DDSDataFormat::DXT5:
        return blocks * 16;
    case DDSDataFormat::A1R5G5B5:
    case DDSDataFormat::A4R4G4B4:
    case DDSDataFormat::R5G6B5:
        return size.width * size.height * 2;
    case DDSDataFormat::R8G8B8:
        return size.width * size.height * 3;
    case DDSDataFormat::A8R8G8B8:
        return size.width * size.height * 4;
    }
    return 0;
}

} // namespace larkspan
