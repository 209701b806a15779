#include "model/TextSpliceEntry.h"

#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

namespace larkspan {

bool spliceEntryBytes(const std::shared_ptr<RFATreeNode>& entry, const ByteSplice& splice, const void* typingKey)
{
    if (splice.isEmpty())
        return true;
    std::optional<Bytes> spliced = splice.appliedTo(*entry->data());
    if (!spliced)
        return false;
    entry->setData(makeSharedBytes(std::move(*spliced)));
    if (const std::shared_ptr<UndoHistory> history = entry->undoManager()) {
        history->registerCoalescingUndo(typingKey, [entry, inverse = splice.inverse(), typingKey] {
            spliceEntryBytes(entry, inverse, typingKey);
        });
    }
    return true;
}

} // namespace larkspan
