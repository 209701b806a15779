#pragma once

// Runs of plain characters that every match of an ECMAScript regular
// expression contains: a search looks for one first, with FixedStringSearch,
// and tries the expression only on the lines that hold them all, as grep
// does. Most lines of a text hold no match, and the expression costs a
// hundred times the plain search on each of them.

#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// Such runs of `pattern` (bytes, as the expression reads them), in its
// order; none when none is known. Cautious: anything optional or repeated,
// an escape that is not a plain character, a group or a class ends a run;
// a '|' outside every group, or a pattern this cannot read with certainty,
// leaves none.
std::vector<std::string> requiredLiterals(std::string_view pattern);

} // namespace larkspan
