#include "format/WaveHeader.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace larkspan {

namespace {

constexpr std::uint64_t kRiffHeader = 12;
constexpr std::uint64_t kChunkHeader = 8;
constexpr std::uint64_t kFormatChunk = 16;

bool tagIs(ByteSpan bytes, std::uint64_t position, const char (&tag)[5])
{
    return bytes.size() - position >= 4 && std::memcmp(bytes.data() + position, tag, 4) == 0;
}

} // namespace

std::optional<WaveFormat> readWaveFormat(ByteSpan bytes)
{
    if (bytes.size() < kRiffHeader || !tagIs(bytes, 0, "RIFF") || !tagIs(bytes, 8, "WAVE"))
        return std::nullopt;
    std::optional<WaveFormat> format;
    std::optional<std::uint64_t> dataSize;
    std::uint32_t byteRate = 0;
    // Chunks follow one another, each padded to an even length; a size that
    // runs past the end counts only as far as the bytes go.
    for (std::uint64_t position = kRiffHeader; bytes.size() - position >= kChunkHeader;) {
        const std::uint64_t size = littleEndian32(bytes.data() + position + 4);
        const std::uint64_t body = position + kChunkHeader;
        const std::uint64_t present = std::min<std::uint64_t>(size, bytes.size() - body);
        if (tagIs(bytes, position, "fmt ")) {
            if (present < kFormatChunk)
                return std::nullopt;
            const std::uint8_t* p = bytes.data() + body;
            format = WaveFormat{.encoding = littleEndian16(p),
                                .channels = littleEndian16(p + 2),
                                .sampleRate = littleEndian32(p + 4),
                                .bitsPerSample = littleEndian16(p + 14),
                                .durationMs = std::nullopt};
            byteRate = littleEndian32(p + 8);
        } else if (tagIs(bytes, position, "data")) {
            dataSize = present;
        }
        if (format && dataSize)
            break;
        position = body + size + (size & 1);
        if (position > bytes.size())
            break;
    }
    if (!format || format->channels == 0 || format->sampleRate == 0)
        return std::nullopt;
    if (dataSize && byteRate != 0)
        format->durationMs = *dataSize * 1000 / byteRate;
    return format;
}

} // namespace larkspan
