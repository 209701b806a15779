#include "document/ExternalEdit.h"

#include "document/ArchiveDocument.h"
#include "document/EditSteps.h"
#include "document/EntryNames.h"
#include "model/UndoHistory.h"

namespace larkspan {

void replaceEntryBytes(const RFATreeNode::Ptr& entry, SharedBytes bytes)
{
    SharedBytes old = entry->data();
    entry->setData(std::move(bytes));
    if (const std::shared_ptr<UndoHistory> history = entry->undoManager())
        history->registerUndo([entry, old = std::move(old)] { replaceEntryBytes(entry, old); });
}

TakeBackResult takeBackExternalEdit(ArchiveDocument& document, const RFATreeNode::Ptr& entry,
                                    const RFATreeNode::Ptr& folder, const std::string& name, SharedBytes bytes)
{
    if (entry->isLeaf() && document.isInTree(*entry)) {
        document.undoHistory()->setActionName(editStepName(EditStep::OpenWith));
        replaceEntryBytes(entry, std::move(bytes));
        return {TakeBack::Replaced, entry};
    }
    if (!folder || folder->isLeaf() || !document.isInTree(*folder))
        return {TakeBack::FolderGone, nullptr};
    if (childNamedIgnoringCase(*folder, name))
        return {TakeBack::NameTaken, nullptr};
    document.undoHistory()->setActionName(editStepName(EditStep::OpenWith));
    RFATreeNode::Ptr added = RFATreeNode::initWithData(std::move(bytes), name, folder);
    folder->appendChild(added);
    document.browse().refreshResults();
    return {TakeBack::AddedAsNew, added};
}

} // namespace larkspan
