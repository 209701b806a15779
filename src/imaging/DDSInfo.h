#pragma once

#include "imaging/OpenDDSFile.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace larkspan {

// What the viewer tells about a texture.
struct DDSInfo {
    std::string_view formatName; // "DXT1", "DXT3", "DXT5", "A1R5G5B5", "A4R4G4B4", "R5G6B5", "R8G8B8", "A8R8G8B8"
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t levelCount = 0; // mip levels whose bytes the file holds, the top level included
};

std::string_view DDSGetFormatName(DDSDataFormat format);
// Nothing for a null handle.
std::optional<DDSInfo> DDSGetInfo(const DDSFile* dds);

} // namespace larkspan
