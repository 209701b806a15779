#pragma once

// The LZO1X instruction forms as the encoders write them, and what each
// costs in bytes. The optimal parser prices a parse with the same functions
// that then write it, so the two cannot disagree.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace larkspan::lzo1x {

// Distance limits of the match forms.
inline constexpr std::size_t kShortMatchMaxDistance = 1024;  // length 2, after 1-3 trailing literals
inline constexpr std::size_t kNearMatchMaxDistance = 2048;   // lengths 3-8, two bytes
inline constexpr std::size_t kNearMatchMaxLength = 8;
inline constexpr std::size_t kFarShortMatchMaxDistance = 3072; // length 3, right after a literal run
inline constexpr std::size_t kMiddleMatchMaxDistance = 16384;
inline constexpr std::size_t kMaxDistance = 49151;
inline constexpr std::size_t kMiddleMatchBaseLength = 33; // longer ones take a length extension
inline constexpr std::size_t kFarMatchBaseLength = 9;
// A stream's first byte holds a literal run of up to this many bytes.
inline constexpr std::size_t kMaxOpeningLiterals = 238;
inline constexpr std::size_t kEndMarkerLength = 3;

// What the literals just written let the next match opcode mean.
enum class LiteralState : std::uint8_t {
    None,     // a match came last, with no literal after it
    Trailing, // 1-3 literals rode on the match before: a length-2 match is possible
    Run,      // a literal run (4 or more): a length-3 match reaching 2049-3072 back is possible
};

inline LiteralState literalStateAfter(std::size_t literals)
{
    return literals == 0 ? LiteralState::None : literals <= 3 ? LiteralState::Trailing : LiteralState::Run;
}

// Bytes of a length extension holding `value` (> 0): zeros for each 255, then the rest.
inline std::size_t extensionLength(std::size_t value)
{
    return 1 + (value - 1) / 255;
}

// Bytes that `count` literals take, opcode included, at the stream's start or after a match.
inline std::size_t literalCost(std::size_t count, bool atStart)
{
    if (count == 0)
        return 0;
    if (atStart ? count <= kMaxOpeningLiterals : count <= 3)
        return count + (atStart ? 1 : 0);
    if (count <= 18)
        return count + 1;
    return count + 1 + extensionLength(count - 18);
}

// Bytes of the cheapest form for a match, or 0 when none can code it.
inline std::size_t matchCost(std::size_t length, std::size_t distance, LiteralState state)
{
    if (length == 2)
        return state == LiteralState::Trailing && distance <= kShortMatchMaxDistance ? 2 : 0;
    if (length <= kNearMatchMaxLength && distance <= kNearMatchMaxDistance)
        return 2;
    if (length == 3 && state == LiteralState::Run && distance <= kFarShortMatchMaxDistance)
        return 2;
    if (distance <= kMiddleMatchMaxDistance)
        return length <= kMiddleMatchBaseLength ? 3 : 3 + extensionLength(length - kMiddleMatchBaseLength);
    return length <= kFarMatchBaseLength ? 3 : 3 + extensionLength(length - kFarMatchBaseLength);
}

// Room enough for any parse of `inputLength` bytes: a match of 4 that cuts a
// literal run can cost one byte more than it saves, at most once per 23 bytes.
inline std::size_t streamBound(std::size_t inputLength)
{
    return inputLength + inputLength / 16 + 64 + kEndMarkerLength;
}

// The parsers' inner loops call the writer for every instruction.
#define LARKSPAN_LZO_INLINE inline __attribute__((always_inline))

// Writes instructions for `input` into a buffer of at least
// streamBound(input) bytes, which leaves room for copying short literal runs
// sixteen bytes at a time. Literal runs and matches alternate; a match needs
// the literals before it.
class StreamWriter {
public:
    StreamWriter(const std::uint8_t* inputEnd, std::uint8_t* out) : inputEnd_(inputEnd), start_(out), op_(out) {}

    LARKSPAN_LZO_INLINE void literals(const std::uint8_t* from, std::size_t count)
    {
        if (count == 0) {
            state_ = LiteralState::None;
            return;
        }
        if (op_ == start_ && count <= kMaxOpeningLiterals) {
            *op_++ = static_cast<std::uint8_t>(17 + count);
        } else if (count <= 3) {
            assert(op_ - start_ >= 2);
            trailingBits_[0] |= static_cast<std::uint8_t>(count);
        } else if (count <= 18) {
            *op_++ = static_cast<std::uint8_t>(count - 3);
        } else {
            *op_++ = 0;
            extension(count - 18);
        }
        if (count <= 16 && inputEnd_ - from >= 16)
            std::memcpy(op_, from, 16);
        else
            std::memcpy(op_, from, count);
        op_ += count;
        state_ = literalStateAfter(count);
    }

    LARKSPAN_LZO_INLINE void match(std::size_t length, std::size_t distance)
    {
        assert(matchCost(length, distance, state_) != 0);
        if (length == 2) {
            const std::size_t d = distance - 1;
            trailingBits_ = op_;
            *op_++ = static_cast<std::uint8_t>((d & 3) << 2);
            *op_++ = static_cast<std::uint8_t>(d >> 2);
        } else if (length <= kNearMatchMaxLength && distance <= kNearMatchMaxDistance) {
            const std::size_t d = distance - 1;
            trailingBits_ = op_;
            *op_++ = static_cast<std::uint8_t>((length - 1) << 5 | (d & 7) << 2);
            *op_++ = static_cast<std::uint8_t>(d >> 3);
        } else if (length == 3 && state_ == LiteralState::Run && distance <= kFarShortMatchMaxDistance) {
            const std::size_t d = distance - 1 - kNearMatchMaxDistance;
            trailingBits_ = op_;
            *op_++ = static_cast<std::uint8_t>((d & 3) << 2);
            *op_++ = static_cast<std::uint8_t>(d >> 2);
        } else if (distance <= kMiddleMatchMaxDistance) {
            lengthOpcode(32, length, kMiddleMatchBaseLength);
            distanceWord(distance - 1);
        } else {
            assert(distance <= kMaxDistance);
            const std::size_t d = distance - kMiddleMatchMaxDistance;
            lengthOpcode(16 | (d & 0x4000) >> 11, length, kFarMatchBaseLength);
            distanceWord(d & 0x3fff);
        }
        state_ = LiteralState::None;
    }

    // Writes the end marker; returns the stream's length.
    std::size_t finish()
    {
        *op_++ = 17;
        *op_++ = 0;
        *op_++ = 0;
        return static_cast<std::size_t>(op_ - start_);
    }

    LiteralState state() const { return state_; }

private:
    void extension(std::size_t value)
    {
        for (; value > 255; value -= 255)
            *op_++ = 0;
        *op_++ = static_cast<std::uint8_t>(value);
    }

    void lengthOpcode(std::size_t marker, std::size_t length, std::size_t baseLength)
    {
        if (length <= baseLength) {
            *op_++ = static_cast<std::uint8_t>(marker | (length - 2));
        } else {
            *op_++ = static_cast<std::uint8_t>(marker);
            extension(length - baseLength);
        }
    }

    // Its low two bits are left for the literals that follow the match.
    void distanceWord(std::size_t d)
    {
        trailingBits_ = op_;
        *op_++ = static_cast<std::uint8_t>(d << 2);
        *op_++ = static_cast<std::uint8_t>(d >> 6);
    }

    const std::uint8_t* inputEnd_;
    std::uint8_t* start_;
    std::uint8_t* op_;
    std::uint8_t* trailingBits_ = nullptr;
    LiteralState state_ = LiteralState::None;
};

} // namespace larkspan::lzo1x
