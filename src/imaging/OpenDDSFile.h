#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace larkspan {

// The whole DDS file, shared with whoever else holds it; a handle never copies it.
using DDSBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

// The handle's data format codes.
enum class DDSDataFormat : std::int32_t {
    DXT1 = 1,
    DXT3 = 2,
    DXT5 = 3,
    A1R5G5B5 = 4,
    A4R4G4B4 = 5,
    R5G6B5 = 6,
    R8G8B8 = 7,
    A8R8G8B8 = 8,
};

enum class DDSFailure {
    TooShort,               // fewer than the 128 bytes of magic and header
    NotDDS,                 // the file does not begin with "DDS "
    BadHeaderSize,          // the header size field is not 124
    BadPixelFormatSize,     // the pixel format size field is not 32
    UnsupportedFourCC,      // compressed, but not DXT1, DXT3 or DXT5
    UnsupportedPixelFormat, // uncompressed, but not one of the five RGB layouts
};

struct DDSError {
    DDSFailure failure;
    std::string message;
};

// Opaque: a parsed header plus a shared reference to the file's bytes.
struct DDSFile;

// A new handle, or null when the bytes are not a supported DDS file (the
// reason goes to `error` when given). Release it with DDSDestroy, or let a
// DDSHandle do so.
DDSFile* DDSOpenData(DDSBytes data, DDSError* error = nullptr);
// Drops the handle's reference to the bytes. Null is ignored.
void DDSDestroy(DDSFile* dds);

struct DDSDestroyer {
    void operator()(DDSFile* dds) const { DDSDestroy(dds); }
};
using DDSHandle = std::unique_ptr<DDSFile, DDSDestroyer>;

// The accessors answer 0 / false / nothing for a null handle.
std::int32_t DDSGetWidth(const DDSFile* dds);
std::int32_t DDSGetHeight(const DDSFile* dds);
bool DDSHasMipmaps(const DDSFile* dds);
bool DDSIsCompressed(const DDSFile* dds);
DDSDataFormat DDSGetDataFormat(const DDSFile* dds);

// The bytes of one mip level inside the file's bytes (valid while the handle
// or another owner keeps the bytes), or nothing when the level is above the
// header's mipmap count, lies past the end of the mip chain, or does not lie
// wholly inside the file.
std::optional<std::span<const std::uint8_t>> DDSGetDataForMipmapLevel(const DDSFile* dds,
                                                                     std::int32_t level);

} // namespace larkspan
