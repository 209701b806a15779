#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace larkspan {

// Turns an English source text into the user's language; the UI supplies
// it, the core passes every text it shows through it. Null means English.
using Translator = std::string (*)(const char* sourceText);

inline std::string translated(Translator translate, const char* sourceText)
{
    return translate ? translate(sourceText) : std::string(sourceText);
}

// Fills the placeholders of a format ("%@", "%lu", "%u", "%.1f", ...) in
// order with ready-made texts. Unlike printf it cannot misbehave on a
// translated format whose placeholders differ: a missing argument leaves
// the placeholder out, a surplus one is dropped.
std::string fillPlaceholders(std::string_view format, std::initializer_list<std::string_view> arguments);

} // namespace larkspan
