#pragma once

#include "text/TextSplice.h"

#include <memory>

namespace larkspan {

class RFATreeNode;

// Typing into a file entry: applies the splice to the entry's bytes and
// registers the inverse splice with the entry's undo history, coalescing with
// the run of splices made under the same key (the editor), so that a run of
// keystrokes undoes as one step. Undoing and redoing come back here and
// register their own inverse.
//
// False, with nothing changed, when the bytes no longer hold what the splice
// removes: the bytes were replaced behind the history's back, and applying
// the splice at its offset would corrupt them.
bool spliceEntryBytes(const std::shared_ptr<RFATreeNode>& entry, const ByteSplice& splice, const void* typingKey);

} // namespace larkspan
