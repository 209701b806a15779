#pragma once

// Names and text live in the core as UTF-8; archives and text entries hold
// ISO 8859-1, one byte per character, byte value = code point.

#include "base/Bytes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

std::string latin1ToUtf8(ByteSpan latin1);
void appendLatin1AsUtf8(std::string& out, ByteSpan latin1);

// Every character above U+00FF becomes `replacement`, so the result has
// exactly one byte per character.
Bytes utf8ToLatin1Lossy(std::string_view utf8, std::uint8_t replacement = '?');

// Nothing when a character lies above U+00FF.
std::optional<Bytes> utf8ToLatin1(std::string_view utf8);

// Decodes the code point at `pos` and advances `pos`. A byte that does not
// start a valid UTF-8 sequence stands for itself (its Latin-1 reading), so any
// byte string decodes without loss of position.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);

std::size_t codePointCount(std::string_view utf8);

void appendUtf8(std::string& out, char32_t codePoint);

} // namespace larkspan
