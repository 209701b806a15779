#pragma once

#include "base/Translator.h"

#include <string>

namespace larkspan {

class ArchiveDocument;

// The status line: how many entries the user looks at, how many of them
// are selected, and how many bytes they hold.
std::string statusBarText(const ArchiveDocument& document, Translator translate);

} // namespace larkspan
