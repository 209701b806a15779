// Our LZO1X compressor against two decoders. Input: any bytes.
//
// Both levels must write a stream that liblzo2's safe decoder and ours turn
// back into the input exactly, the same stream whether the compressor is
// fresh or has compressed other inputs before; the stored form of an entry
// holding the input must read back as the input.

#include "FuzzCheck.h"

#include "format/EntryCompression.h"
#include "format/Lzo1xCompressor.h"
#include "format/RFADecompression.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstdint>

namespace {

using namespace larkspan;

bool decodesBack(const Bytes& stream, ByteSpan content)
{
    Bytes ours(content.size() + kDecoderSlack);
    std::size_t produced = 0;
    if (dcom(stream, ours, content.size(), produced) != LZOResult::Success || produced != content.size() ||
        !std::equal(content.begin(), content.end(), ours.begin()))
        return false;
    Bytes theirs(content.size());
    lzo_uint theirProduced = content.size();
    return lzo1x_decompress_safe(stream.data(), stream.size(), theirs.data(), &theirProduced, nullptr) == LZO_E_OK &&
           theirProduced == content.size() && std::equal(content.begin(), content.end(), theirs.begin());
}

void roundTrip(ByteSpan content, CompressionLevel level, Lzo1xCompressor& reused)
{
    const Bytes stream = reused.compress(content);
    FUZZ_CHECK(decodesBack(stream, content));
    FUZZ_CHECK(Lzo1xCompressor(level).compress(content) == stream);

    const Bytes stored = compressEntry(content, level);
    FUZZ_CHECK(stored.size() != content.size());
    const SharedBytes decoded = decompressedDataFromData(stored, static_cast<std::uint32_t>(content.size()));
    FUZZ_CHECK(decoded && std::equal(decoded->begin(), decoded->end(), content.begin(), content.end()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool initialised = lzo_init() == LZO_E_OK;
    FUZZ_CHECK(initialised);
    static Lzo1xCompressor fast(CompressionLevel::Fast);
    static Lzo1xCompressor best(CompressionLevel::Best);
    const ByteSpan content(data, size);
    roundTrip(content, CompressionLevel::Fast, fast);
    roundTrip(content, CompressionLevel::Best, best);
    return 0;
}
