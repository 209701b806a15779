#pragma once

// What a name must be for an entry the user makes: one the archive can
// store, and one the game can tell apart from its siblings'.

#include "base/Translator.h"
#include "model/RFATreeNode.h"

#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

// The game finds files without regard to case (its file system is
// Windows'): a child whose name equals `name` ignoring case, ASCII and
// Latin-1 letters alike, other than `except`; null when there is none.
RFATreeNode::Ptr childNamedIgnoringCase(const RFATreeNode& folder, std::string_view name,
                                        const RFATreeNode* except = nullptr);

// Archives store one byte per character (Latin-1): a name with any other
// character would be saved as something else than what the user sees.
bool isStorableName(std::string_view name);

enum class NameRefusal {
    Empty,
    Separator,  // holds "/", which would split it into folders
    DotName,    // "." or "..", which no folder on disk can hold
    Unstorable, // a character beyond Latin-1
    Taken,      // a sibling has it, perhaps in another case
};

struct RefusedName {
    NameRefusal refusal;
    std::string takenBy; // the sibling's name, for Taken
};

// Why `node` may not be renamed to `name`; nothing when it may.
std::optional<RefusedName> renameRefusal(const RFATreeNode& node, std::string_view name);

// The message that tells the user why, translated.
std::string describeRefusedName(const RefusedName& refused, std::string_view name, Translator translate);

// Said of an entry left out of an insertion for its name.
std::string unstorableNameProblem(std::string_view name, Translator translate);

} // namespace larkspan
