// The LZO1X block decoder alone, on any stream and any declared output
// length. Input: one option byte, the output length (LE16, times 16 when
// option bit 1 is set: up to a megabyte), then the stream.
//
// The stream is decoded twice: into a buffer of exactly the declared length,
// where the decoder must fall back to narrow copies near the end, and into
// one with the decoder's slack, where it may copy wide all the way. Both
// must give the same result and the same bytes.

#include "FuzzCheck.h"

#include "archive/RFADecompression.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

using namespace larkspan;

struct Decoded {
    LZOResult result;
    std::size_t produced;
    std::unique_ptr<std::uint8_t[]> output;
};

Decoded decode(ByteSpan stream, std::size_t outputLength, std::size_t slack)
{
    // Uninitialised on purpose: the decoder must not depend on what the
    // buffer held, and the sanitizer sees reads past its end.
    Decoded decoded{LZOResult::InputOverrun, 0, std::unique_ptr<std::uint8_t[]>(new std::uint8_t[outputLength + slack])};
    decoded.result = dcom(stream, std::span(decoded.output.get(), outputLength + slack), outputLength, decoded.produced);
    return decoded;
}

bool knownResult(LZOResult result)
{
    switch (result) {
    case LZOResult::Success:
    case LZOResult::InputOverrun:
    case LZOResult::FarMatchInputOverrun:
    case LZOResult::OutputOverrun:
    case LZOResult::LookBehindOverrun:
    case LZOResult::InputNotConsumed:
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t options = data[0];
    std::size_t outputLength = data[1] | std::size_t(data[2]) << 8;
    if (options & 2)
        outputLength <<= 4;
    const ByteSpan stream(data + 3, size - 3);

    const Decoded exact = decode(stream, outputLength, 0);
    const Decoded roomy = decode(stream, outputLength, kDecoderSlack);
    FUZZ_CHECK(knownResult(exact.result));
    FUZZ_CHECK(exact.produced <= outputLength);
    FUZZ_CHECK(exact.result == roomy.result);
    FUZZ_CHECK(exact.produced == roomy.produced);
    FUZZ_CHECK(std::memcmp(exact.output.get(), roomy.output.get(), exact.produced) == 0);
    return 0;
}
