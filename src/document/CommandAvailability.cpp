#include "document/CommandAvailability.h"

#include "document/ArchiveDocument.h"

namespace larkspan {

bool canExtract(const ArchiveDocument& document)
{
    return !document.selection().nodes().empty();
}

bool canDelete(const ArchiveDocument& document)
{
    const std::vector<RFATreeNode::Ptr>& selection = document.selection().nodes();
    return !selection.empty() && selection.front()->parent() != nullptr;
}

bool canAddFiles(const ArchiveDocument& document)
{
    const std::vector<RFATreeNode::Ptr>& selection = document.selection().nodes();
    if (selection.empty())
        return false;
    return !document.browse().inSearchMode() || !selection.front()->isLeaf();
}

bool canMakeNewFolder(const ArchiveDocument& document)
{
    return canAddFiles(document);
}

bool validateAction(const ArchiveDocument& document, DocumentAction action)
{
    switch (action) {
    case DocumentAction::DeleteItems:
        return canDelete(document);
    case DocumentAction::CreateNewFolder:
        return canMakeNewFolder(document);
    case DocumentAction::AddFiles:
        return canAddFiles(document);
    case DocumentAction::ExtractFiles:
        return canExtract(document);
    case DocumentAction::Run:
    case DocumentAction::SaveAndRun:
        return document.saveAndRunEnabled();
    case DocumentAction::UseBrowserView:
    case DocumentAction::UseListView:
        return document.browse().tabToShow() <= 1;
    }
    return false;
}

} // namespace larkspan
