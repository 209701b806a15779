#pragma once

#include "mod/ModIndex.h"

#include <optional>
#include <string>

namespace larkspan::cli {

// The mod in `folder`, with what the game would quietly pass over (a listed
// mod that is missing, an archive that cannot be read) and what is most
// often a mistake (two archive families holding one path) warned about on
// stderr. Nothing, with a message, when `folder` is not a folder.
std::optional<ModIndex> openMod(const std::string& folder);

} // namespace larkspan::cli
