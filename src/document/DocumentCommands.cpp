#include "document/DocumentCommands.h"

#include "document/ArchiveDocument.h"
#include "document/EditSteps.h"
#include "document/EntryExtraction.h"
#include "document/EntryNames.h"
#include "model/UndoHistory.h"

#include <algorithm>

namespace larkspan {

DocumentCommands::DocumentCommands(ArchiveDocument& document, DocumentHost& host, Translator translate)
    : document_(document), host_(host), translate_(translate)
{
}

std::optional<RFATreeNode::Ptr> DocumentCommands::destinationForNewEntries()
{
    const std::vector<RFATreeNode::Ptr>& selection = document_.selection().nodes();
    if (selection.empty()) {
        host_.beep();
        return std::nullopt;
    }
    const RFATreeNode::Ptr& first = selection.front();
    if (!first->isLeaf())
        return first;
    if (document_.browse().inSearchMode() || !first->parent()) {
        host_.beep();
        return std::nullopt;
    }
    return first->parent();
}

RFATreeNode::Ptr DocumentCommands::createNewFolder()
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return nullptr;
    // A translation the archive cannot store falls back to the English name.
    const bool translationStorable = isStorableName(tr("Unnamed")) && isStorableName(tr("Unnamed %lu"));
    std::string name = translationStorable ? tr("Unnamed") : "Unnamed";
    for (unsigned long counter = 1; childNamedIgnoringCase(**destination, name); ++counter)
        name = fillPlaceholders(translationStorable ? tr("Unnamed %lu") : "Unnamed %lu", {std::to_string(counter)});
    document_.undoHistory()->setActionName(editStepName(EditStep::NewFolder));
    RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(name, *destination);
    (*destination)->appendChild(folder);
    document_.browse().refreshResults();
    return folder;
}

bool DocumentCommands::renameNode(const RFATreeNode::Ptr& node, const std::string& name)
{
    if (name == node->name())
        return true;
    if (const std::optional<RefusedName> refused = renameRefusal(*node, name)) {
        host_.explainRefusal(describeRefusedName(*refused, name, translate_));
        return false;
    }
    document_.undoHistory()->setActionName(editStepName(EditStep::Rename));
    node->setName(name);
    return true;
}

void DocumentCommands::deleteItems()
{
    if (!deleteNodes(document_.selection().nodes()) && !document_.browse().inSearchMode())
        host_.beep();
    document_.browse().refreshResults();
}

bool DocumentCommands::deleteNodes(const std::vector<RFATreeNode::Ptr>& nodes)
{
    // Each entry is taken out by identity: a same-named sibling stays.
    // Roots stay, and so do the entries below them; entries inside another
    // entry that leaves go with it.
    std::vector<RFATreeNode::Ptr> removable;
    for (const RFATreeNode::Ptr& node : nodes)
        if (node->parent() && node->indexInParent() && document_.isInTree(*node))
            removable.push_back(node);
    std::vector<RFATreeNode::Ptr> doomed;
    for (const RFATreeNode::Ptr& node : removable) {
        const bool insideAnother = std::any_of(removable.begin(), removable.end(), [&](const RFATreeNode::Ptr& other) {
            return other != node && node->isDescendantOf(*other);
        });
        if (!insideAnother && std::find(doomed.begin(), doomed.end(), node) == doomed.end())
            doomed.push_back(node);
    }
    if (doomed.empty())
        return false;
    document_.undoHistory()->setActionName(editStepName(EditStep::Delete));
    for (const RFATreeNode::Ptr& node : doomed)
        node->parent()->removeChild(*node);
    return true;
}

void DocumentCommands::pasteNodes(const std::vector<RFATreeNode::Ptr>& nodes, bool move)
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return;
    const std::size_t end = (*destination)->countOfChildren();
    if (move)
        document_.insertion().startMovingNodes(nodes, *destination, end);
    else
        document_.insertion().startCoypingNodes(nodes, *destination, end);
}

void DocumentCommands::pasteFiles(std::vector<std::filesystem::path> paths)
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (destination)
        document_.insertion().startAddingFilesWithNames(std::move(paths), *destination,
                                                        (*destination)->countOfChildren());
}

void DocumentCommands::addFiles()
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return;
    // The document owns these commands: while it lives, so do they.
    host_.chooseFilesToAdd([self = document_.weak_from_this(), this, folder = *destination](
                               std::optional<std::vector<std::filesystem::path>> chosen) {
        const std::shared_ptr<ArchiveDocument> document = self.lock();
        if (!document || !chosen)
            return;
        // The folder may have gone while the chooser was open.
        if (!document->isInTree(*folder)) {
            host_.beep();
            return;
        }
        document->undoHistory()->setActionName(editStepName(EditStep::AddFiles));
        document->insertion().startAddingFilesWithNames(std::move(*chosen), folder, folder->countOfChildren());
    });
}

void DocumentCommands::extractFiles()
{
    host_.chooseExtractionFolder([self = document_.weak_from_this(), this](std::optional<std::filesystem::path> folder) {
        const std::shared_ptr<ArchiveDocument> document = self.lock();
        if (document && folder)
            EntryExtraction::start(host_, translate_, document->selection().nodes(), *folder);
    });
}

} // namespace larkspan
