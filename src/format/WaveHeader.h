#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <optional>

namespace larkspan {

// What a sound entry's RIFF/WAVE header says about it, read without
// touching the samples.
struct WaveFormat {
    std::uint16_t encoding = 0; // 1 for PCM
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
    // The samples' length in milliseconds: the data chunk (as far as the
    // bytes hold it) over the byte rate; nothing without a data chunk.
    std::optional<std::uint64_t> durationMs;
};

// Nothing when the bytes are no RIFF/WAVE file or its format chunk is
// missing, cut short or names no channels or rate.
std::optional<WaveFormat> readWaveFormat(ByteSpan bytes);

} // namespace larkspan
