#pragma once

#include <string>
#include <string_view>

namespace larkspan {

// An update archive is named BASE + "_" + three digits + ".rfa" and lies
// beside BASE.rfa; it and the base (which may be absent) make one family.
// The key every archive of a family shares, from an archive's path below
// the mod's Archives folder ("/" between components), without regard to
// case: "bf1942/levels/berlin" for both bf1942/levels/Berlin.rfa and
// bf1942/levels/berlin_003.RFA.
std::string archiveFamilyKey(std::string_view relativePath);

// Where an archive stands among the archives of one mod: the one whose path
// sorts later wins. Comparing folded paths puts BASE.rfa before its updates
// ("." sorts before "_") and the updates in the order of their numbers, so
// that the highest update wins, then the lower ones, then the base; between
// families the later path wins. Paths that fold alike are ordered bytewise.
bool archiveSortsBefore(std::string_view a, std::string_view b);

} // namespace larkspan
