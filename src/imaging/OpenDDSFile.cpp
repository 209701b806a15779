#include "imaging/OpenDDSFile.h"

#include "base/ByteOrder.h"
#include "imaging/DDSLevelGeometry.h"

#include <array>
#include <cstring>
#include <limits>

namespace larkspan {

struct DDSFile {
    DDSDataFormat dataFormat;
    std::int32_t width;
    std::int32_t height;
    std::int32_t mipmapCount; // as the header says, whatever its flags
    DDSBytes data;
};

namespace {

constexpr std::uint32_t kPixelFormatFourCC = 0x4;
constexpr std::uint32_t kPixelFormatRGB = 0x40;
constexpr std::uint32_t kPixelFormatAlpha = 0x1;

struct RGBLayout {
    DDSDataFormat format;
    bool alphaFlag;
    std::uint32_t bitCount;
    std::uint32_t red, green, blue;
    std::optional<std::uint32_t> alpha; // compared only where the layout has alpha
};

constexpr std::array<RGBLayout, 5> kRGBLayouts{{
    {DDSDataFormat::A1R5G5B5, true, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
    {DDSDataFormat::A4R4G4B4, true, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
    {DDSDataFormat::R5G6B5, false, 16, 0xF800, 0x07E0, 0x001F, std::nullopt},
    {DDSDataFormat::R8G8B8, false, 24, 0xFF0000, 0x00FF00, 0x0000FF, std::nullopt},
    {DDSDataFormat::A8R8G8B8, true, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000},
}};

struct PixelFormatFields {
    std::uint32_t flags;
    const std::uint8_t* fourCC; // four characters in file order
    std::uint32_t bitCount;
    std::uint32_t red, green, blue, alpha;
};

std::optional<DDSDataFormat> compressedFormat(const std::uint8_t* fourCC)
{
    if (std::memcmp(fourCC, "DXT1", 4) == 0)
        return DDSDataFormat::DXT1;
    if (std::memcmp(fourCC, "DXT3", 4) == 0)
        return DDSDataFormat::DXT3;
    if (std::memcmp(fourCC, "DXT5", 4) == 0)
        return DDSDataFormat::DXT5;
    return std::nullopt;
}

// Flags 4 together with other bits are judged here too, not by their FourCC.
std::optional<DDSDataFormat> uncompressedFormat(const PixelFormatFields& f)
{
    if (!(f.flags & kPixelFormatRGB))
        return std::nullopt;
    const bool alphaFlag = (f.flags & kPixelFormatAlpha) != 0;
    for (const RGBLayout& layout : kRGBLayouts) {
        if (layout.alphaFlag == alphaFlag && layout.bitCount == f.bitCount && layout.red == f.red &&
            layout.green == f.green && layout.blue == f.blue &&
            (!layout.alpha || *layout.alpha == f.alpha))
            return layout.format;
    }
    return std::nullopt;
}

DDSFile* fail(DDSError* error, DDSFailure failure, const char* message)
{
    if (error)
        *error = {failure, message};
    return nullptr;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max()
                                                              : a + b;
}

} // namespace

DDSFile* DDSOpenData(DDSBytes data, DDSError* error)
{
    if (!data || data->size() < kDDSPixelDataOffset)
        return fail(error, DDSFailure::TooShort, "The file is shorter than a DDS header.");
    const std::uint8_t* bytes = data->data();
    if (std::memcmp(bytes, "DDS ", 4) != 0)
        return fail(error, DDSFailure::NotDDS, "The file does not begin with \"DDS \".");
    if (littleIntAtPosition(*data, 4) != 124)
        return fail(error, DDSFailure::BadHeaderSize, "The DDS header size is not 124.");
    if (littleIntAtPosition(*data, 76) != 32)
        return fail(error, DDSFailure::BadPixelFormatSize, "The DDS pixel format size is not 32.");

    const ByteSpan header(*data);
    const PixelFormatFields pixelFormat{littleIntAtPosition(header, 80),  bytes + 84,
                                        littleIntAtPosition(header, 88),  littleIntAtPosition(header, 92),
                                        littleIntAtPosition(header, 96),  littleIntAtPosition(header, 100),
                                        littleIntAtPosition(header, 104)};
    std::optional<DDSDataFormat> format;
    if (pixelFormat.flags == kPixelFormatFourCC) {
        format = compressedFormat(pixelFormat.fourCC);
        if (!format)
            return fail(error, DDSFailure::UnsupportedFourCC,
                        "The texture is compressed, but not as DXT1, DXT3 or DXT5.");
    } else {
        format = uncompressedFormat(pixelFormat);
        if (!format)
            return fail(error, DDSFailure::UnsupportedPixelFormat,
                        "The texture's pixel layout is not a supported one.");
    }
    return new DDSFile{*format, std::int32_t(littleIntAtPosition(header, 16)),
                       std::int32_t(littleIntAtPosition(header, 12)), std::int32_t(littleIntAtPosition(header, 28)),
                       std::move(data)};
}

void DDSDestroy(DDSFile* dds)
{
    delete dds;
}

std::int32_t DDSGetWidth(const DDSFile* dds)
{
    return dds ? dds->width : 0;
}

std::int32_t DDSGetHeight(const DDSFile* dds)
{
    return dds ? dds->height : 0;
}

bool DDSHasMipmaps(const DDSFile* dds)
{
    return dds && dds->mipmapCount > 0;
}

bool DDSIsCompressed(const DDSFile* dds)
{
    if (!dds)
        return false;
    return dds->dataFormat == DDSDataFormat::DXT1 || dds->dataFormat == DDSDataFormat::DXT3 ||
           dds->dataFormat == DDSDataFormat::DXT5;
}

DDSDataFormat DDSGetDataFormat(const DDSFile* dds)
{
    return dds ? dds->dataFormat : DDSDataFormat{};
}

std::optional<std::span<const std::uint8_t>> DDSGetDataForMipmapLevel(const DDSFile* dds,
                                                                     std::int32_t level)
{
    if (!dds || level < 0 || level > dds->mipmapCount)
        return std::nullopt;
    // Each level halves the one before, its sides clamped to 1; once both
    // sides reach 0 the chain is over and no further level exists.
    std::int64_t width = dds->width;
    std::int64_t height = dds->height;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    for (std::int32_t k = 0; k <= level; ++k) {
        if (width == 0 && height == 0)
            return std::nullopt;
        width = std::max<std::int64_t>(width, 1);
        height = std::max<std::int64_t>(height, 1);
        offset = saturatingAdd(offset, size);
        size = ddsLevelByteCount(dds->dataFormat, {std::uint64_t(width), std::uint64_t(height)});
        width /= 2;
        height /= 2;
    }
    const std::uint64_t available = dds->data->size() - kDDSPixelDataOffset;
    if (offset > available || size > available - offset)
        return std::nullopt;
    return std::span<const std::uint8_t>(*dds->data).subspan(kDDSPixelDataOffset + offset, size);
}

} // namespace larkspan
