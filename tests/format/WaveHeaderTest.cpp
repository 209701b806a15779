#include "format/WaveHeader.h"

#include <gtest/gtest.h>

#include <string>

namespace larkspan {
namespace {

std::string le32(std::uint32_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

std::string le16(std::uint16_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

std::string chunk(const std::string& tag, const std::string& body, std::uint32_t declared)
{
    return tag + le32(declared) + body + (declared % 2 == 1 && body.size() == declared ? std::string(1, '\0') : "");
}

// PCM, `channels` at 22050 Hz, 16 bits.
std::string formatChunk(std::uint16_t channels, std::uint32_t declared = 16)
{
    const std::uint32_t byteRate = 22050u * 2u * channels;
    const std::string body = le16(1) + le16(channels) + le32(22050) + le32(byteRate) + le16(2 * channels) + le16(16);
    return chunk("fmt ", body.substr(0, std::min<std::size_t>(declared, 16)), declared);
}

std::string wave(const std::string& chunks)
{
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

struct Case {
    const char* name;
    std::string bytes;
    std::optional<std::uint16_t> channels; // nothing: not read
    std::optional<std::uint64_t> durationMs;
};

TEST(WaveHeader, ReadsTheFormatAndCutsEveryLengthToTheBytes)
{
    const std::string oneSecondMono(44100, 'x');
    const Case cases[] = {
        {"mono, one second", wave(formatChunk(1) + chunk("data", oneSecondMono, 44100)), 1, 1000},
        {"an odd chunk before fmt is skipped with its pad byte",
         wave(chunk("LIST", "abc", 3) + formatChunk(2) + chunk("data", std::string(88200, 'x'), 88200)), 2, 1000},
        {"data declared past the end counts what is there",
         wave(formatChunk(1) + chunk("data", std::string(22050, 'x'), 0xffffffffu)), 1, 500},
        {"no data chunk: no duration", wave(formatChunk(1)), 1, std::nullopt},
        {"format chunk cut short", wave(formatChunk(1, 12)), std::nullopt, std::nullopt},
        {"format chunk declared long, bytes missing", wave(chunk("fmt ", "abcd", 16)), std::nullopt, std::nullopt},
        {"chunk size runs past the end before fmt", wave(chunk("JUNK", "", 0xfffffff0u) + formatChunk(1)),
         std::nullopt, std::nullopt},
        {"no channels", wave(formatChunk(0)), std::nullopt, std::nullopt},
        {"not RIFF", "RIFX" + le32(4) + "WAVE", std::nullopt, std::nullopt},
        {"too short", "RIFF", std::nullopt, std::nullopt},
        {"empty", "", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteSpan bytes(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size());
        const std::optional<WaveFormat> format = readWaveFormat(bytes);
        ASSERT_EQ(format.has_value(), c.channels.has_value());
        if (!format)
            continue;
        EXPECT_EQ(format->channels, *c.channels);
        EXPECT_EQ(format->sampleRate, 22050u);
        EXPECT_EQ(format->bitsPerSample, 16u);
        EXPECT_EQ(format->durationMs, c.durationMs);
    }
}

} // namespace
} // namespace larkspan
