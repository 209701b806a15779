#include "imaging/DDSInfo.h"

namespace larkspan {

std::string_view DDSGetFormatName(DDSDataFormat format)
{
    switch (format) {
    case DDSDataFormat::DXT1:
        return "DXT1";
    case DDSDataFormat::DXT3:
        return "DXT3";
    case DDSDataFormat::DXT5:
        return "DXT5";
    case DDSDataFormat::A1R5G5B5:
        return "A1R5G5B5";
    case DDSDataFormat::A4R4G4B4:
        return "A4R4G4B4";
    case DDSDataFormat::R5G6B5:
        return "R5G6B5";
    case DDSDataFormat::R8G8B8:
        return "R8G8B8";
    case DDSDataFormat::A8R8G8B8:
        return "A8R8G8B8";
    }
    return {};
}

std::optional<DDSInfo> DDSGetInfo(const DDSFile* dds)
{
    if (!dds)
        return std::nullopt;
    // The walk ends with the mip chain, so this stops after at most 33 levels.
    std::int32_t levels = 0;
    while (DDSGetDataForMipmapLevel(dds, levels))
        ++levels;
    return DDSInfo{DDSGetFormatName(DDSGetDataFormat(dds)), DDSGetWidth(dds), DDSGetHeight(dds), levels};
}

} // namespace larkspan
