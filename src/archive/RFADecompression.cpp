#include "archive/RFADecompression.h"

#include "archive/LittleEndian.h"

#include <cstring>
#include <new>

namespace larkspan {

namespace {

constexpr unsigned kLongLiteralState = 4;

struct Decoder {
    const std::uint8_t* ip;
    const std::uint8_t* const ipEnd;
    std::uint8_t* op;
    std::uint8_t* const opStart;
    std::uint8_t* const opEnd;

    std::size_t inputLeft() const { return static_cast<std::size_t>(ipEnd - ip); }
    std::size_t outputRoom() const { return static_cast<std::size_t>(opEnd - op); }
    std::size_t written() const { return static_cast<std::size_t>(op - opStart); }

    // Three input bytes are always held back: the length of the end marker.
    bool copyLiterals(std::size_t n, LZOResult& failure)
    {
        if (n > outputRoom()) {
            failure = LZOResult::OutputOverrun;
            return false;
        }
        if (inputLeft() < n + 3) {
            failure = LZOResult::InputOverrun;
            return false;
        }
        std::memcpy(op, ip, n);
        op += n;
        ip += n;
        return true;
    }

    // z zero bytes then a nonzero byte b: 255·z + b.
    bool lengthExtension(std::uint64_t& length)
    {
        std::uint64_t extra = 0;
        while (ip < ipEnd && *ip == 0) {
            extra += 255;
            ++ip;
        }
        if (ip == ipEnd)
            return false;
        length = extra + *ip++;
        return true;
    }

    bool copyMatch(std::uint64_t length, std::uint64_t distance, LZOResult& failure)
    {
        if (distance > written()) {
            failure = LZOResult::LookBehindOverrun;
            return false;
        }
        if (length > outputRoom()) {
            failure = LZOResult::OutputOverrun;
            return false;
        }
        const std::uint8_t* from = op - distance;
        for (std::uint64_t i = 0; i < length; ++i)
            *op++ = *from++;
        return true;
    }
};

} // namespace

LZOResult dcom(ByteSpan input, std::uint8_t* output, std::size_t outputLength, std::size_t& produced)
{
    Decoder d{input.data(), input.data() + input.size(), output, output, output + outputLength};
    LZOResult failure = LZOResult::InputOverrun;
    const auto finish = [&](LZOResult result) {
        produced = d.written();
        return result;
    };
    if (d.inputLeft() == 0)
        return finish(LZOResult::InputOverrun);

    unsigned state = 0;
    std::uint32_t t = *d.ip++;
    if (t > 17) {
        const std::size_t n = t - 17;
        if (!d.copyLiterals(n, failure))
            return finish(failure);
        state = n >= 4 ? kLongLiteralState : static_cast<unsigned>(n);
        if (d.inputLeft() == 0)
            return finish(LZOResult::InputOverrun);
        t = *d.ip++;
    }

    for (;;) {
        std::uint64_t length = 0;
        std::uint64_t distance = 0;
        std::uint32_t trailing = 0;
        if (t < 16 && state == 0) {
            if (t == 0) {
                if (!d.lengthExtension(length))
                    return finish(LZOResult::InputOverrun);
                length += 18;
            } else {
                length = t + 3;
            }
            if (!d.copyLiterals(length, failure))
                return finish(failure);
            state = kLongLiteralState;
            t = *d.ip++;
            continue;
        }
        if (t < 16) {
            if (d.inputLeft() < 1)
                return finish(LZOResult::InputOverrun);
            const std::uint32_t c = *d.ip++;
            if (state == kLongLiteralState) {
                length = 3;
                distance = 2049 + (t >> 2) + (c << 2);
            } else {
                length = 2;
                distance = 1 + (t >> 2) + (c << 2);
            }
            trailing = t & 3;
        } else if (t < 32) {
            length = (t & 7) + 2;
            if ((t & 7) == 0) {
                if (!d.lengthExtension(length))
                    return finish(LZOResult::FarMatchInputOverrun);
                length += 9;
            }
            if (d.inputLeft() < 2)
                return finish(LZOResult::InputOverrun);
            const std::uint32_t w = d.ip[0] | std::uint32_t(d.ip[1]) << 8;
            d.ip += 2;
            if ((w >> 2) == 0 && (t & 8) == 0) {
                if (d.ip == d.ipEnd || d.op == d.opEnd)
                    return finish(LZOResult::Success);
                return finish(d.inputLeft() < 3 ? LZOResult::InputOverrun : LZOResult::InputNotConsumed);
            }
            distance = 16384 + ((t & 8) << 11) + (w >> 2);
            trailing = w & 3;
        } else if (t < 64) {
            length = (t & 31) + 2;
            if ((t & 31) == 0) {
                if (!d.lengthExtension(length))
                    return finish(LZOResult::InputOverrun);
                length += 33;
            }
            if (d.inputLeft() < 2)
                return finish(LZOResult::InputOverrun);
            const std::uint32_t w = d.ip[0] | std::uint32_t(d.ip[1]) << 8;
            d.ip += 2;
            distance = 1 + (w >> 2);
            trailing = w & 3;
        } else {
            if (d.inputLeft() < 1)
                return finish(LZOResult::InputOverrun);
            const std::uint32_t c = *d.ip++;
            length = (t >> 5) + 1;
            distance = 1 + ((t >> 2) & 7) + (c << 3);
            trailing = t & 3;
        }
        if (!d.copyMatch(length, distance, failure))
            return finish(failure);
        if (trailing > 0 && !d.copyLiterals(trailing, failure))
            return finish(failure);
        state = trailing;
        if (d.inputLeft() < 3 && state == 0)
            return finish(LZOResult::InputOverrun);
        if (d.inputLeft() == 0)
            return finish(LZOResult::InputOverrun);
        t = *d.ip++;
    }
}

SharedBytes decompressedDataFromData(ByteSpan stored, std::uint32_t decompressedLength)
{
    const std::uint64_t count = littleIntAtPosition(stored, 0);
    const std::uint64_t tableEnd = 4 + 12 * count;
    if (tableEnd > stored.size() && count > 0)
        return nullptr;
    const std::uint64_t scratchLimit = 10 * std::uint64_t(decompressedLength);
    try {
        Bytes content;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t at = 4 + 12 * i;
            const std::uint64_t segmentStored = littleIntAtPosition(stored, at);
            const std::uint64_t segmentSize = littleIntAtPosition(stored, at + 4);
            const std::uint64_t segmentOffset = littleIntAtPosition(stored, at + 8);
            if (segmentSize == 0)
                continue;
            const std::uint64_t streamAt = tableEnd + segmentOffset;
            if (streamAt > stored.size() || segmentStored > stored.size() - streamAt)
                return nullptr;
            if (segmentSize > scratchLimit)
                return nullptr;
            const std::size_t before = content.size();
            content.resize(before + segmentSize + kDecoderSlack);
            std::size_t produced = 0;
            const LZOResult result = dcom(stored.subspan(streamAt, segmentStored),
                                          content.data() + before, segmentSize, produced);
            if (result != LZOResult::Success || produced != segmentSize)
                return nullptr;
            content.resize(before + segmentSize);
        }
        return makeSharedBytes(std::move(content));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace larkspan
