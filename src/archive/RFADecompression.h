#pragma once

#include "tree/Bytes.h"

#include <cstddef>
#include <cstdint>

namespace larkspan {

// Result codes of the LZO1X block decoder.
enum class LZOResult : int {
    Success = -12,            // end marker reached, stream accepted
    InputOverrun = -4,        // an instruction needs bytes past the input, or 1-2 stray bytes after the end
    FarMatchInputOverrun = -14, // input ended inside a far match's length extension
    OutputOverrun = -5,       // a copy would pass the output end
    LookBehindOverrun = -6,   // a match reaches before the output start
    InputNotConsumed = -8,    // three or more bytes follow the end marker
};

// Decodes one LZO1X stream into output[0, outputLength). `produced` receives
// the number of bytes decoded. `output` must hold outputLength +
// kDecoderSlack bytes: the decoder may scribble into the slack, never past it,
// and never reads outside `input`.
inline constexpr std::size_t kDecoderSlack = 16;
LZOResult dcom(ByteSpan input, std::uint8_t* output, std::size_t outputLength, std::size_t& produced);

// The content of a compressed entry (segment table + LZO1X segments), or null
// when it cannot be decoded. `decompressedLength` is the entry's size field.
SharedBytes decompressedDataFromData(ByteSpan stored, std::uint32_t decompressedLength);

} // namespace larkspan
