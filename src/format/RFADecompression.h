#pragma once

#include "base/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace larkspan {

// Result codes of the LZO1X block decoder.
enum class LZOResult : int {
    Success = -12,              // end marker reached, stream accepted
    InputOverrun = -4,          // an instruction needs bytes past the input, or 1-2 stray bytes after the end
    FarMatchInputOverrun = -14, // input ended inside a far match's length extension
    OutputOverrun = -5,         // a copy would pass the output end
    LookBehindOverrun = -6,     // a match reaches before the output start
    InputNotConsumed = -8,      // three or more bytes follow the end marker
};

// Extra bytes past the declared output length that let the decoder use wide
// copies up to the very end of its output. With less, it still decodes
// exactly, only more slowly near the end.
inline constexpr std::size_t kDecoderSlack = 16;

// Decodes one LZO1X stream whose declared output length is `outputLength`
// into `output`, which must be at least that long (std::invalid_argument
// otherwise). `produced` receives the number of bytes decoded; they are the
// first `produced` bytes of `output`. The decoder reads only inside `input`
// and writes only inside `output`, but the bytes of `output` past `produced`
// are left unspecified.
LZOResult dcom(ByteSpan input, std::span<std::uint8_t> output, std::size_t outputLength,
               std::size_t& produced);

// The content of a compressed entry (segment table + LZO1X segments), or null
// when it cannot be decoded. `decompressedLength` is the entry's size field.
SharedBytes decompressedDataFromData(ByteSpan stored, std::uint32_t decompressedLength);

// The length a compressed entry's content decodes to, read from its segment
// table without decoding: nothing when the table points outside the stored
// bytes or declares sizes its streams cannot decode to, which
// decompressedDataFromData then refuses too. `decompressedLength` is the
// entry's size field.
std::optional<std::uint64_t> decompressedLengthOfData(ByteSpan stored, std::uint32_t decompressedLength);
// The same content handed to `take` a segment at a time, in table order, each
// as soon as it is decoded, so that a reader that has seen enough (a search
// that found its match) stops the decoding by returning false. Damaged, after
// the segments before it were handed over, at the first segment that cannot
// be decoded; a table that points outside `stored` hands over nothing.
// With a `firstLook`, the first segment's first bytes, up to that many, are
// decoded and handed over before the rest of it: a reader that stops at a
// match near the top (a script's header comment) then decodes little of a
// long entry. They are handed over even when the segment is damaged later on.
using SegmentSink = std::function<bool(ByteSpan content)>;
enum class SegmentWalk { Finished, Stopped, Damaged };
SegmentWalk forEachDecodedSegment(ByteSpan stored, std::uint32_t decompressedLength, const SegmentSink& take,
                                  std::size_t firstLook = 0);

// The content of an entry whose stored size equals its size, when its stored
// bytes are a segment table whose segments lie inside them, declare sizes
// adding up to their length and each decode to exactly its declared size;
// null otherwise (the entry is then stored raw).
SharedBytes decompressedDataIfSegmented(ByteSpan stored);

} // namespace larkspan
