#include "format/RFADecompression.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

namespace larkspan {

namespace {

// What the previous instruction copied as literals decides what an opcode
// below 16 means: 0, 1 to 3 (trailing literals), or a run of 4 or more.
constexpr unsigned kLongLiteralState = 4;

// The end marker's length: literal copies always leave this much input.
constexpr std::size_t kHeldBack = 3;

// No instruction yields more than 255 bytes per input byte (a zero byte of a
// length extension adds 255; every other form yields less per byte), and the
// end marker yields none, so a stream of n bytes decodes to fewer than 255·n.
constexpr std::uint64_t kMaxExpansion = 255;

// The output window a segment is first decoded into; the packer's segments
// (32 KiB) always fit.
constexpr std::uint64_t kFirstWindow = 4 << 20;

// Wide copies may move up to this many bytes past the end of a copy.
constexpr std::size_t kWideOvershoot = 15;

template <std::size_t N>
inline void copyBlock(std::uint8_t* to, const std::uint8_t* from)
{
    std::memcpy(to, from, N);
}

class Decoder {
public:
    Decoder(ByteSpan input, std::span<std::uint8_t> output, std::size_t outputLength)
        : ip_(input.data()), ipEnd_(input.data() + input.size()), op_(output.data()),
          opStart_(output.data()), opEnd_(output.data() + outputLength),
          writeEnd_(output.data() + output.size())
    {
    }

    LZOResult run();
    std::size_t written() const { return static_cast<std::size_t>(op_ - opStart_); }

private:
    std::size_t inputLeft() const { return static_cast<std::size_t>(ipEnd_ - ip_); }
    std::size_t outputRoom() const { return static_cast<std::size_t>(opEnd_ - op_); }
    std::size_t writeRoom() const { return static_cast<std::size_t>(writeEnd_ - op_); }

    bool fail(LZOResult code)
    {
        failure_ = code;
        return false;
    }

    // z zero bytes then a nonzero byte b: `length` = base + 255·z + b.
    bool lengthExtension(std::uint64_t base, std::uint64_t& length)
    {
        length = base;
        while (ip_ != ipEnd_ && *ip_ == 0) {
            length += 255;
            ++ip_;
        }
        if (ip_ == ipEnd_)
            return false;
        length += *ip_++;
        return true;
    }

    std::uint32_t readLE16()
    {
        const std::uint32_t w = littleEndian16(ip_);
        ip_ += 2;
        return w;
    }

    bool copyLiterals(std::uint64_t n)
    {
        if (n > outputRoom())
            return fail(LZOResult::OutputOverrun);
        if (inputLeft() < n + kHeldBack)
            return fail(LZOResult::InputOverrun);
        if (inputLeft() >= n + kWideOvershoot && writeRoom() >= n + kWideOvershoot) {
            std::uint8_t* to = op_;
            const std::uint8_t* from = ip_;
            do {
                copyBlock<16>(to, from);
                to += 16;
                from += 16;
            } while (to < op_ + n);
        } else {
            std::memcpy(op_, ip_, n);
        }
        op_ += n;
        ip_ += n;
        return true;
    }

    // 0 to 3 literals after a match. With none, the check still applies: the
    // next opcode needs room for at least the end marker.
    bool copyTrailingLiterals(std::size_t s)
    {
        if (s > outputRoom())
            return fail(LZOResult::OutputOverrun);
        if (inputLeft() < s + kHeldBack)
            return fail(LZOResult::InputOverrun);
        if (inputLeft() >= 4 && writeRoom() >= 4) {
            copyBlock<4>(op_, ip_);
        } else {
            for (std::size_t i = 0; i < s; ++i)
                op_[i] = ip_[i];
        }
        op_ += s;
        ip_ += s;
        return true;
    }

    bool copyMatch(std::uint64_t n, std::size_t distance)
    {
        if (distance > written())
            return fail(LZOResult::LookBehindOverrun);
        if (n > outputRoom())
            return fail(LZOResult::OutputOverrun);
        const std::uint8_t* from = op_ - distance;
        if (writeRoom() >= n + kWideOvershoot)
            wideMatch(from, n, distance);
        else
            for (std::uint64_t i = 0; i < n; ++i)
                op_[i] = from[i];
        op_ += n;
        return true;
    }

    // Moves in blocks no wider than the distance, so that every block reads
    // bytes already final. Distances below 8 first spread the pattern over
    // eight bytes so that the rest can move eight at a time.
    void wideMatch(const std::uint8_t* from, std::uint64_t n, std::size_t distance)
    {
        std::uint8_t* to = op_;
        std::uint8_t* const end = op_ + n;
        if (distance >= 16) {
            do {
                copyBlock<16>(to, from);
                to += 16;
                from += 16;
            } while (to < end);
            return;
        }
        if (distance < 8) {
            static constexpr std::uint8_t kAdvance[8] = {0, 1, 2, 1, 0, 4, 4, 4};
            static constexpr std::int8_t kRewind[8] = {0, 0, 0, -1, -4, 1, 2, 3};
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = from[3];
            from += kAdvance[distance];
            copyBlock<4>(to + 4, from);
            from -= kRewind[distance];
            to += 8;
        }
        while (to < end) {
            copyBlock<8>(to, from);
            to += 8;
            from += 8;
        }
    }

    LZOResult endOfStream() const
    {
        if (ip_ == ipEnd_ || op_ == opEnd_)
            return LZOResult::Success;
        return inputLeft() < 3 ? LZOResult::InputOverrun : LZOResult::InputNotConsumed;
    }

    const std::uint8_t* ip_;
    const std::uint8_t* const ipEnd_;
    std::uint8_t* op_;
    std::uint8_t* const opStart_;
    std::uint8_t* const opEnd_;
    std::uint8_t* const writeEnd_;
    LZOResult failure_ = LZOResult::InputOverrun;
};

// Every opcode is read with at least three bytes of input left (literal copies
// hold them back) except the stream's first, which is below 18. So the one
// operand byte of near and short matches is always there; only far matches
// and length extensions can run out.
LZOResult Decoder::run()
{
    if (ip_ == ipEnd_)
        return LZOResult::InputOverrun;
    unsigned state = 0;
    std::uint32_t t = *ip_++;
    if (t > 17) {
        const std::uint32_t n = t - 17;
        if (!copyLiterals(n))
            return failure_;
        state = n >= 4 ? kLongLiteralState : n;
        t = *ip_++;
    }
    for (;;) {
        std::uint64_t length;
        std::size_t distance;
        std::size_t trailing;
        if (t >= 64) {
            const std::uint32_t c = *ip_++;
            length = (t >> 5) + 1;
            distance = 1 + ((t >> 2) & 7) + (c << 3);
            trailing = t & 3;
        } else if (t >= 32) {
            length = (t & 31) + 2;
            if (length == 2 && !lengthExtension(33, length))
                return LZOResult::InputOverrun;
            if (inputLeft() < 2)
                return LZOResult::InputOverrun;
            const std::uint32_t w = readLE16();
            distance = 1 + (w >> 2);
            trailing = w & 3;
        } else if (t >= 16) {
            length = (t & 7) + 2;
            if (length == 2 && !lengthExtension(9, length))
                return LZOResult::FarMatchInputOverrun;
            if (inputLeft() < 2)
                return LZOResult::InputOverrun;
            const std::uint32_t w = readLE16();
            if ((w >> 2) == 0 && (t & 8) == 0)
                return endOfStream();
            distance = 16384 + ((t & 8) << 11) + (w >> 2);
            trailing = w & 3;
        } else if (state == 0) {
            length = t + 3;
            if (t == 0 && !lengthExtension(18, length))
                return LZOResult::InputOverrun;
            if (!copyLiterals(length))
                return failure_;
            state = kLongLiteralState;
            t = *ip_++;
            continue;
        } else {
            const std::uint32_t c = *ip_++;
            const bool afterRun = state == kLongLiteralState;
            length = afterRun ? 3 : 2;
            distance = (afterRun ? 2049 : 1) + (t >> 2) + (c << 2);
            trailing = t & 3;
        }
        if (!copyMatch(length, distance) || !copyTrailingLiterals(trailing))
            return failure_;
        state = static_cast<unsigned>(trailing);
        t = *ip_++;
    }
}

// The most a segment may declare: ten times the entry's size field (the
// historical bound), and never more than its stream can decode to.
std::uint64_t segmentSizeLimit(std::uint64_t streamLength, std::uint32_t decompressedLength)
{
    return std::min(10 * std::uint64_t(decompressedLength), kMaxExpansion * streamLength);
}

struct Segment {
    ByteSpan stream;
    std::uint64_t size;
};

struct SegmentTable {
    std::vector<Segment> segments;
    std::uint64_t total = 0; // content size
};

// The segments that add content, in table order, or nothing when the table
// points outside the stored bytes or declares sizes that cannot be decoded.
std::optional<SegmentTable> readSegmentTable(ByteSpan stored, std::uint32_t decompressedLength)
{
    const std::uint64_t count = littleIntAtPosition(stored, 0);
    const std::uint64_t tableEnd = 4 + 12 * count;
    if (count > 0 && tableEnd > stored.size())
        return std::nullopt;
    SegmentTable table;
    for (std::uint64_t at = 4; at < tableEnd; at += 12) {
        const std::uint64_t streamLength = littleIntAtPosition(stored, at);
        const std::uint64_t size = littleIntAtPosition(stored, at + 4);
        const std::uint64_t streamAt = tableEnd + littleIntAtPosition(stored, at + 8);
        if (streamAt > stored.size() || streamLength > stored.size() - streamAt)
            return std::nullopt;
        // The packer writes an empty file as one segment of size 0 whose
        // bytes are no valid stream: such a segment adds nothing.
        if (size == 0)
            continue;
        if (size > segmentSizeLimit(streamLength, decompressedLength))
            return std::nullopt;
        table.total += size;
        table.segments.push_back({stored.subspan(streamAt, streamLength), size});
    }
    // An entry's size is a 32-bit field: no real content is larger.
    if (table.total > UINT32_MAX)
        return std::nullopt;
    return table;
}

// Decodes the segment into `buffer` from `at` on; false when it does not
// decode to exactly its declared size. The buffer grows as the stream really
// fills it, its capacity never past `capacityLimit`, and never shrinks: past
// the content it holds the decoder's slack.
bool decodeSegmentAt(const Segment& segment, Bytes& buffer, std::size_t at, std::uint64_t capacityLimit)
{
    // The segment is decoded into a window that doubles only when the stream
    // really fills it, so a segment that declares gigabytes over a stream
    // that breaks early costs no more than the window. Until its output
    // would pass the window the decoder runs exactly as with the whole
    // declared size, so any other failure inside the window is the segment's
    // own.
    std::uint64_t window = std::min(segment.size, kFirstWindow);
    for (;;) {
        const std::size_t needed = at + window + kDecoderSlack;
        if (needed > buffer.size()) {
            // At least a first window's room at once (most entries then take
            // one allocation and no copy), doubling after that, capped at the
            // limit: memory follows what has really been decoded plus one
            // window.
            if (needed > buffer.capacity())
                buffer.reserve(std::min<std::uint64_t>(
                    std::max({std::uint64_t(needed), 2 * std::uint64_t(buffer.capacity()), kFirstWindow}),
                    capacityLimit));
            buffer.resize(needed);
        }
        std::size_t produced = 0;
        const LZOResult result = dcom(segment.stream, std::span(buffer).subspan(at), window, produced);
        if (result == LZOResult::OutputOverrun && window < segment.size) {
            window = std::min(2 * window, segment.size);
            continue;
        }
        return result == LZOResult::Success && produced == segment.size;
    }
}

// The segments' content in table order, or null when the table points
// outside the stored bytes, declares a total other than `requiredTotal` (when
// given), or a segment does not decode to exactly its declared size.
SharedBytes decodedSegments(ByteSpan stored, std::uint32_t decompressedLength,
                            std::optional<std::uint64_t> requiredTotal)
{
    try {
        const std::optional<SegmentTable> table = readSegmentTable(stored, decompressedLength);
        if (!table || (requiredTotal && table->total != *requiredTotal))
            return nullptr;
        Bytes content;
        std::size_t length = 0;
        for (const Segment& segment : table->segments) {
            if (!decodeSegmentAt(segment, content, length, table->total + kDecoderSlack))
                return nullptr;
            length += segment.size;
        }
        content.resize(length); // the exact size, within the capacity already there
        return makeSharedBytes(std::move(content));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

LZOResult dcom(ByteSpan input, std::span<std::uint8_t> output, std::size_t outputLength,
               std::size_t& produced)
{
    if (outputLength > output.size())
        throw std::invalid_argument("dcom: output shorter than its declared length");
    Decoder decoder(input, output, outputLength);
    const LZOResult result = decoder.run();
    produced = decoder.written();
    return result;
}

SharedBytes decompressedDataFromData(ByteSpan stored, std::uint32_t decompressedLength)
{
    return decodedSegments(stored, decompressedLength, std::nullopt);
}

std::optional<std::uint64_t> decompressedLengthOfData(ByteSpan stored, std::uint32_t decompressedLength)
{
    try {
        if (const std::optional<SegmentTable> table = readSegmentTable(stored, decompressedLength))
            return table->total;
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

SegmentWalk forEachDecodedSegment(ByteSpan stored, std::uint32_t decompressedLength, const SegmentSink& take,
                                  std::size_t firstLook)
{
    try {
        const std::optional<SegmentTable> table = readSegmentTable(stored, decompressedLength);
        if (!table)
            return SegmentWalk::Damaged;
        // One segment at a time into one buffer, which only grows: zeroed
        // once, not for every segment.
        Bytes buffer;
        std::size_t handed = 0; // of the first segment, by the first look
        if (!table->segments.empty() && firstLook > 0 && firstLook < table->segments.front().size) {
            // Decoding stops where the output would pass the look; what came
            // before is final, and decoding the whole segment yields it again.
            buffer.resize(firstLook + kDecoderSlack);
            const LZOResult result = dcom(table->segments.front().stream, buffer, firstLook, handed);
            if (result != LZOResult::OutputOverrun)
                handed = 0; // the whole decoding tells success from damage
            if (handed > 0 && !take(ByteSpan(buffer.data(), handed)))
                return SegmentWalk::Stopped;
        }
        for (const Segment& segment : table->segments) {
            if (!decodeSegmentAt(segment, buffer, 0, segment.size + kDecoderSlack))
                return SegmentWalk::Damaged;
            if (!take(ByteSpan(buffer.data() + handed, segment.size - handed)))
                return SegmentWalk::Stopped;
            handed = 0;
        }
        return SegmentWalk::Finished;
    } catch (const std::bad_alloc&) {
        return SegmentWalk::Damaged;
    }
}

SharedBytes decompressedDataIfSegmented(ByteSpan stored)
{
    // Without a count field there is no table; a size field is 32 bits.
    if (stored.size() < 4 || stored.size() > UINT32_MAX)
        return nullptr;
    return decodedSegments(stored, static_cast<std::uint32_t>(stored.size()), stored.size());
}

} // namespace larkspan
