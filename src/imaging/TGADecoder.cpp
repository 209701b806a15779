#include "imaging/TGADecoder.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace larkspan {

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopToBottom = 0x20;

struct Header {
    std::uint8_t idLength;
    std::uint8_t colourMapType;
    std::uint8_t imageType;
    std::uint16_t firstEntry;
    std::uint16_t mapLength;
    std::uint8_t entryBits;
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t pixelBits;
    std::uint8_t descriptor;

    bool colourMapped() const { return (imageType & 7) == 1; }
    bool grey() const { return (imageType & 7) == 3; }
    bool runLengthEncoded() const { return imageType & 8; }
    bool alphaBit() const { return (descriptor & 0x0F) != 0; }
};

using Texel = std::array<std::uint8_t, 4>; // red, green, blue, alpha

std::uint8_t from5Bits(unsigned c)
{
    return std::uint8_t((c * 255 + 15) / 31);
}

unsigned bytesFor(unsigned bits)
{
    return (bits + 7) / 8;
}

Result<Header> readHeader(ByteSpan bytes)
{
    if (bytes.size() < kHeaderBytes)
        return Error{ErrorCode::TgaTruncatedHeader};
    const std::uint8_t* p = bytes.data();
    const Header h{p[0],
                   p[1],
                   p[2],
                   littleShortAtPosition(bytes, 3),
                   littleShortAtPosition(bytes, 5),
                   p[7],
                   littleShortAtPosition(bytes, 12),
                   littleShortAtPosition(bytes, 14),
                   p[16],
                   p[17]};
    const unsigned type = h.imageType & ~8u;
    if (type < 1 || type > 3)
        return Error{ErrorCode::TgaUnsupportedImageType};
    const bool entriesKnown = h.entryBits == 15 || h.entryBits == 16 || h.entryBits == 24 || h.entryBits == 32;
    if (h.colourMapType > 1 || (h.colourMapped() && (h.colourMapType != 1 || !entriesKnown)))
        return Error{ErrorCode::TgaUnsupportedColourMap};
    const unsigned bits = h.pixelBits;
    const bool depthFits = h.colourMapped() ? bits == 8 || bits == 16
                           : h.grey()       ? bits == 8 || bits == 16
                                            : bits == 15 || bits == 16 || bits == 24 || bits == 32;
    if (!depthFits)
        return Error{ErrorCode::TgaUnsupportedPixelDepth};
    if (h.width == 0 || h.height == 0)
        return Error{ErrorCode::TgaEmptyPicture};
    return h;
}

// Turns one stored true-colour or grey value into RGBA.
Texel colourTexel(const std::uint8_t* p, unsigned bits, bool grey, bool alphaBit)
{
    if (grey)
        return {p[0], p[0], p[0], bits == 16 ? p[1] : std::uint8_t(255)};
    switch (bits) {
    case 15:
    case 16: {
        const unsigned w = littleEndian16(p);
        const bool opaque = bits == 15 || !alphaBit || (w & 0x8000);
        return {from5Bits((w >> 10) & 31), from5Bits((w >> 5) & 31), from5Bits(w & 31), std::uint8_t(opaque ? 255 : 0)};
    }
    case 24:
        return {p[2], p[1], p[0], 255};
    default:
        return {p[2], p[1], p[0], p[3]};
    }
}

class PixelConverter {
public:
    PixelConverter(const Header& h, std::vector<Texel> palette) : header_(h), palette_(std::move(palette)) {}

    // False for an index outside the colour map.
    bool convert(const std::uint8_t* p, Texel& texel) const
    {
        if (!header_.colourMapped()) {
            texel = colourTexel(p, header_.pixelBits, header_.grey(), header_.alphaBit());
            return true;
        }
        const unsigned index = header_.pixelBits == 16 ? littleEndian16(p) : p[0];
        if (index < header_.firstEntry || index - header_.firstEntry >= palette_.size())
            return false;
        texel = palette_[index - header_.firstEntry];
        return true;
    }

private:
    const Header& header_;
    std::vector<Texel> palette_;
};

// Walks the pixel stream, calling emit(pixel bytes, repeat) until `count`
// pixels are had. Run-length packets may cross rows; a packet reaching past
// the last pixel is cut there. False when the data ends first or emit fails.
template <class Emit>
bool walkPixels(ByteSpan data, std::uint64_t count, unsigned pixelBytes, bool runLength, Emit&& emit)
{
    std::size_t at = 0;
    while (count > 0) {
        std::uint64_t packet = 1;
        bool repeated = true;
        if (runLength) {
            if (at >= data.size())
                return false;
            repeated = data[at] & 0x80;
            packet = std::min<std::uint64_t>((data[at] & 0x7F) + 1u, count);
            ++at;
        }
        const std::uint64_t stored = repeated ? 1 : packet;
        if (data.size() - at < stored * pixelBytes)
            return false;
        for (std::uint64_t i = 0; i < stored; ++i)
            if (!emit(data.data() + at + i * pixelBytes, repeated ? packet : 1))
                return false;
        at += stored * pixelBytes;
        count -= packet;
    }
    return true;
}

void orientRows(Image& image, std::uint8_t descriptor)
{
    std::uint8_t* pixels = image.pixels.data();
    if (!(descriptor & kTopToBottom)) {
        for (std::size_t top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(pixels + top * image.bytesPerRow, pixels + (top + 1) * image.bytesPerRow,
                             pixels + bottom * image.bytesPerRow);
    }
    if (descriptor & kRightToLeft) {
        for (std::size_t y = 0; y < image.height; ++y) {
            std::uint8_t* row = pixels + y * image.bytesPerRow;
            for (std::size_t left = 0, right = image.width - 1; left < right; ++left, --right)
                std::swap_ranges(row + left * 4, row + left * 4 + 4, row + right * 4);
        }
    }
}

Result<Image> decode(ByteSpan bytes)
{
    const Result<Header> header = readHeader(bytes);
    if (!header)
        return header.error();
    const Header& h = *header;
    const std::uint64_t mapStart = kHeaderBytes + std::uint64_t(h.idLength);
    if (mapStart > bytes.size())
        return Error{ErrorCode::TgaTruncatedIdentification};
    const std::uint64_t entryBytes = bytesFor(h.entryBits);
    const std::uint64_t mapBytes = h.colourMapType == 1 ? std::uint64_t(h.mapLength) * entryBytes : 0;
    if (mapStart + mapBytes > bytes.size())
        return Error{ErrorCode::TgaTruncatedColourMap};
    std::vector<Texel> palette;
    if (h.colourMapped()) {
        for (std::uint64_t i = 0; i < h.mapLength; ++i)
            palette.push_back(colourTexel(bytes.data() + mapStart + i * entryBytes, h.entryBits, false, h.alphaBit()));
    }
    const PixelConverter converter(h, std::move(palette));

    const ByteSpan data = bytes.subspan(mapStart + mapBytes);
    const std::uint64_t count = std::uint64_t(h.width) * h.height;
    const unsigned pixelBytes = bytesFor(h.pixelBits);
    // Checked before the picture is allocated, so a lying header costs nothing.
    if (!walkPixels(data, count, pixelBytes, h.runLengthEncoded(), [](const std::uint8_t*, std::uint64_t) { return true; }))
        return Error{ErrorCode::TgaTruncatedPixelData};
    Image image{h.width, h.height, PixelFormat::RGBA8, std::size_t(h.width) * 4, false, {}};
    image.pixels.resize(image.bytesPerRow * h.height);
    std::uint8_t* out = image.pixels.data();
    const bool indicesFit = walkPixels(data, count, pixelBytes, h.runLengthEncoded(),
                                       [&](const std::uint8_t* pixel, std::uint64_t repeat) {
                                           Texel texel;
                                           if (!converter.convert(pixel, texel))
                                               return false;
                                           for (std::uint64_t i = 0; i < repeat; ++i, out += 4)
                                               std::copy(texel.begin(), texel.end(), out);
                                           return true;
                                       });
    if (!indicesFit)
        return Error{ErrorCode::TgaIndexOutsideColourMap};
    orientRows(image, h.descriptor);
    return image;
}

} // namespace

Result<TGAInfo> readTGAInfo(ByteSpan bytes)
{
    const Result<Header> h = readHeader(bytes);
    if (!h)
        return h.error();
    return TGAInfo{h->width, h->height, h->pixelBits};
}

Result<Image> decodeTGA(ByteSpan bytes)
{
    try {
        return decode(bytes);
    } catch (const std::bad_alloc&) {
        return Error{ErrorCode::TgaTooBig};
    }
}

} // namespace larkspan
