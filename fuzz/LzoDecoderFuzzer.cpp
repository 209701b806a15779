// The LZO1X block decoder alone, on any stream and any declared output
// length. Input: one option byte, the output length (LE16, times 64 when
// option bit 1 is set: up to 4 MiB), then the stream.
//
// The stream is decoded twice: into a buffer of exactly the declared length,
// where the decoder must fall back to narrow copies near the end, and into
// one with the decoder's slack, where it may copy wide all the way. Both
// must give the same result and the same bytes.

#include "FuzzCheck.h"

#include "base/ByteOrder.h"
#include "format/RFADecompression.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace larkspan;

constexpr std::size_t kLongestOutput = (std::size_t(65535) << 6) + kDecoderSlack;
constexpr std::size_t kGuard = 64;

// An output buffer that ends where the allocation ends, with a poisoned
// band before it, so that the sanitizer sees any access outside it. One
// allocation serves every run: allocating megabytes per run would cost
// more than decoding.
class Output {
public:
    Output() : storage_(kGuard + kLongestOutput) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { ASAN_UNPOISON_MEMORY_REGION(storage_.data(), storage_.size()); }

    // The last `size` bytes; what they hold is left from earlier runs.
    std::span<std::uint8_t> take(std::size_t size)
    {
        if (guard_)
            ASAN_UNPOISON_MEMORY_REGION(guard_, kGuard);
        std::uint8_t* begin = storage_.data() + storage_.size() - size;
        guard_ = begin - kGuard;
        ASAN_POISON_MEMORY_REGION(guard_, kGuard);
        return {begin, size};
    }

private:
    std::vector<std::uint8_t> storage_;
    std::uint8_t* guard_ = nullptr;
};

struct Decoded {
    LZOResult result;
    std::span<const std::uint8_t> bytes; // the `produced` bytes
};

Decoded decode(Output& output, ByteSpan stream, std::size_t outputLength, std::size_t slack)
{
    const std::span<std::uint8_t> buffer = output.take(outputLength + slack);
    std::size_t produced = 0;
    const LZOResult result = dcom(stream, buffer, outputLength, produced);
    FUZZ_CHECK(produced <= outputLength);
    return {result, buffer.first(produced)};
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
    std::size_t outputLength = littleEndian16(data + 1);
    if (options & 2)
        outputLength <<= 6;
    const ByteSpan stream(data + 3, size - 3);

    static Output exactOutput, roomyOutput;
    const Decoded exact = decode(exactOutput, stream, outputLength, 0);
    const Decoded roomy = decode(roomyOutput, stream, outputLength, kDecoderSlack);
    FUZZ_CHECK(knownResult(exact.result));
    FUZZ_CHECK(exact.result == roomy.result);
    FUZZ_CHECK(std::equal(exact.bytes.begin(), exact.bytes.end(), roomy.bytes.begin(), roomy.bytes.end()));
    return 0;
}
