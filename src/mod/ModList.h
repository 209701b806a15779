#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// The mods a mod's init.con says it uses, from its `game.addModPath Mods/X/`
// lines in the order written (earlier lines win): "X" of each, as spelled.
// Forward and back slashes both separate, the trailing one is optional,
// command and "Mods" are read without regard to case, and `rem` lines and
// every other command are passed over. The file is Latin-1; the names come
// back in UTF-8.
std::vector<std::string> listedModNames(std::string_view initCon);

} // namespace larkspan
