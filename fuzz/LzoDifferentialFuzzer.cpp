// Our LZO1X decoder against liblzo2. Input: one option byte, then bytes.
//
// Option byte modulo 3 of 0 or 1: the bytes are compressed with lzo1x_1 or
// lzo1x_999, and our decoder must give them back exactly, both from the
// bare stream and from an entry that cuts them into segments (of a size set
// by the rest of the option byte) the way archives store them.
//
// Modulo 3 of 2: the bytes are a stream (after an LE16 output length). Whatever
// liblzo2's safe decoder accepts, ours must accept with the same output.

#include "FuzzCheck.h"

#include "base/ByteOrder.h"
#include "format/RFADecompression.h"

#include <lzo/lzo1x.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace larkspan;

Bytes compress(ByteSpan content, bool best)
{
    static std::vector<unsigned char> work(LZO1X_999_MEM_COMPRESS);
    Bytes stream(content.size() + content.size() / 16 + 64 + 3);
    lzo_uint length = stream.size();
    const int result = best ? lzo1x_999_compress(content.data(), content.size(), stream.data(), &length, work.data())
                            : lzo1x_1_compress(content.data(), content.size(), stream.data(), &length, work.data());
    FUZZ_CHECK(result == LZO_E_OK);
    stream.resize(length);
    return stream;
}

Bytes decodeOurs(ByteSpan stream, std::size_t outputLength, LZOResult& result)
{
    Bytes output(outputLength + kDecoderSlack);
    std::size_t produced = 0;
    result = dcom(stream, output, outputLength, produced);
    output.resize(produced);
    return output;
}

// An entry holding `content` as segments of `segmentSize` bytes, each
// compressed on its own; the table lists them last segment first, so the
// offsets are followed rather than assumed.
Bytes segmentedEntry(ByteSpan content, std::size_t segmentSize, bool best)
{
    std::vector<Bytes> streams;
    std::vector<std::size_t> sizes;
    for (std::size_t at = 0; at < content.size(); at += segmentSize) {
        const ByteSpan piece = content.subspan(at, std::min(segmentSize, content.size() - at));
        streams.push_back(compress(piece, best));
        sizes.push_back(piece.size());
    }
    Bytes table;
    appendLittleInt(table, static_cast<std::uint32_t>(streams.size()));
    std::vector<std::uint32_t> offsets;
    Bytes data;
    for (std::size_t i = streams.size(); i-- > 0;) {
        offsets.insert(offsets.begin(), static_cast<std::uint32_t>(data.size()));
        data.insert(data.end(), streams[i].begin(), streams[i].end());
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
        appendLittleInt(table, static_cast<std::uint32_t>(streams[i].size()));
        appendLittleInt(table, static_cast<std::uint32_t>(sizes[i]));
        appendLittleInt(table, offsets[i]);
    }
    table.insert(table.end(), data.begin(), data.end());
    return table;
}

void roundTrip(ByteSpan content, bool best, std::size_t segmentSize)
{
    const Bytes stream = compress(content, best);
    LZOResult result;
    const Bytes decoded = decodeOurs(stream, content.size(), result);
    FUZZ_CHECK(result == LZOResult::Success);
    FUZZ_CHECK(decoded.size() == content.size() && std::equal(decoded.begin(), decoded.end(), content.begin()));

    const SharedBytes framed =
        decompressedDataFromData(segmentedEntry(content, segmentSize, best), static_cast<std::uint32_t>(content.size()));
    FUZZ_CHECK(framed);
    FUZZ_CHECK(framed->size() == content.size() && std::equal(framed->begin(), framed->end(), content.begin()));
}

void sameAsReference(ByteSpan input)
{
    if (input.size() < 2)
        return;
    const std::size_t outputLength = littleShortAtPosition(input, 0);
    const ByteSpan stream = input.subspan(2);
    Bytes reference(outputLength);
    lzo_uint produced = outputLength;
    const int referenceResult =
        lzo1x_decompress_safe(stream.data(), stream.size(), reference.data(), &produced, nullptr);
    if (referenceResult != LZO_E_OK)
        return;
    reference.resize(produced);
    LZOResult result;
    const Bytes ours = decodeOurs(stream, outputLength, result);
    FUZZ_CHECK(result == LZOResult::Success);
    FUZZ_CHECK(ours == reference);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool initialised = lzo_init() == LZO_E_OK;
    FUZZ_CHECK(initialised);
    if (size == 0)
        return 0;
    const std::uint8_t options = data[0];
    const ByteSpan rest(data + 1, size - 1);
    if (options % 3 == 2)
        sameAsReference(rest);
    else
        roundTrip(rest, options % 3 == 1, std::size_t(1) << (4 + options / 3 % 12));
    return 0;
}
