#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace larkspan {

// "4a 0D ff" or "4a0dff": the bytes; nothing for an odd digit count, a
// character that is no hex digit, or no digit at all.
std::optional<Bytes> parseHexBytes(std::string_view text);

// A hexadecimal offset, with or without "0x"; nothing when it is no number
// or does not fit 64 bits.
std::optional<std::uint64_t> parseHexOffset(std::string_view text);

// The first place at or after `from` where `needle` starts, else the first
// one before it (the search goes round); nothing when there is none or the
// needle is empty.
std::optional<std::uint64_t> findBytesWrapping(ByteSpan haystack, ByteSpan needle, std::uint64_t from);

} // namespace larkspan
