#pragma once

// A run of plain characters that every match of an ECMAScript regular
// expression contains: a search looks for it first, with FixedStringSearch,
// and tries the expression only on the lines that hold it, as grep does.
// Most lines of a text hold no match, and the expression costs a hundred
// times the plain search on each of them.

#include <string>
#include <string_view>

namespace larkspan {

// The longest such run in `pattern` (bytes, as the expression reads them),
// empty when none is known. Cautious: anything optional, repeated,
// escaped into a class, inside a group or a character class ends a run;
// a '|' outside every group, or a pattern this cannot read with certainty,
// leaves nothing.
std::string requiredLiteral(std::string_view pattern);

} // namespace larkspan
