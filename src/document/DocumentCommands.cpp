// New Folder, Delete, Add Files and Extract.

#include "document/ArchiveDocument.h"

#include "document/EntryNames.h"

#include "document/EntryExtraction.h"
#include "model/UndoHistory.h"

#include <algorithm>

namespace larkspan {

std::optional<RFATreeNode::Ptr> ArchiveDocument::destinationForNewEntries()
{
    if (selection_.empty()) {
        host_.beep();
        return std::nullopt;
    }
    const RFATreeNode::Ptr& first = selection_.front();
    if (!first->isLeaf())
        return first;
    if (inSearchMode_ || !first->parent()) {
        host_.beep();
        return std::nullopt;
    }
    return first->parent();
}

void ArchiveDocument::createNewFolder()
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return;
    // A translation the archive cannot store falls back to the English name.
    const bool translationStorable = isStorableName(tr("Unnamed")) && isStorableName(tr("Unnamed %lu"));
    std::string name = translationStorable ? tr("Unnamed") : "Unnamed";
    for (unsigned long counter = 1; childNamedIgnoringCase(**destination, name); ++counter)
        name = fillPlaceholders(translationStorable ? tr("Unnamed %lu") : "Unnamed %lu", {std::to_string(counter)});
    history_->setActionName("New Folder");
    (*destination)->appendChild(RFATreeNode::initAsDirectory(name, *destination));
    if (inSearchMode_)
        updateSearchPredicate();
}

bool ArchiveDocument::renameNode(const RFATreeNode::Ptr& node, const std::string& name)
{
    if (name == node->name())
        return true;
    if (const std::optional<RefusedName> refused = renameRefusal(*node, name)) {
        host_.explainRefusal(describeRefusedName(*refused, name, translate_));
        return false;
    }
    history_->setActionName("Rename");
    node->setName(name);
    return true;
}

void ArchiveDocument::deleteItems()
{
    if (!deleteNodes(selection_) && !inSearchMode_)
        host_.beep();
    if (inSearchMode_)
        updateSearchPredicate();
}

bool ArchiveDocument::deleteNodes(const std::vector<RFATreeNode::Ptr>& nodes)
{
    // Each entry is taken out by identity: a same-named sibling stays.
    // Roots stay, and so do the entries below them; entries inside another
    // entry that leaves go with it.
    std::vector<RFATreeNode::Ptr> removable;
    for (const RFATreeNode::Ptr& node : nodes)
        if (node->parent() && node->indexInParent() && isInTree(*node))
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
    history_->setActionName("Delete");
    for (const RFATreeNode::Ptr& node : doomed)
        node->parent()->removeChild(*node);
    return true;
}

void ArchiveDocument::pasteNodes(const std::vector<RFATreeNode::Ptr>& nodes, bool move)
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return;
    const std::size_t end = (*destination)->countOfChildren();
    if (move)
        startMovingNodes(nodes, *destination, end);
    else
        startCoypingNodes(nodes, *destination, end);
}

void ArchiveDocument::pasteFiles(std::vector<std::filesystem::path> paths)
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (destination)
        startAddingFilesWithNames(std::move(paths), *destination, (*destination)->countOfChildren());
}

void ArchiveDocument::addFiles()
{
    const std::optional<RFATreeNode::Ptr> destination = destinationForNewEntries();
    if (!destination)
        return;
    host_.chooseFilesToAdd([self = weak_from_this(), folder = *destination](
                               std::optional<std::vector<std::filesystem::path>> chosen) {
        const std::shared_ptr<ArchiveDocument> document = self.lock();
        if (!document || !chosen)
            return;
        // The folder may have gone while the chooser was open.
        if (!document->isInTree(*folder)) {
            document->host_.beep();
            return;
        }
        document->history_->setActionName("Add Files");
        document->startAddingFilesWithNames(std::move(*chosen), folder, folder->countOfChildren());
    });
}

void ArchiveDocument::extractFiles()
{
    host_.chooseExtractionFolder([self = weak_from_this()](std::optional<std::filesystem::path> folder) {
        const std::shared_ptr<ArchiveDocument> document = self.lock();
        if (document && folder)
            EntryExtraction::start(document->host_, document->translate_, document->selection_, *folder);
    });
}

std::vector<std::filesystem::path> ArchiveDocument::namesForFiles(const std::vector<RFATreeNode::Ptr>& entries,
                                                                  const std::filesystem::path& folder,
                                                                  std::vector<std::string>* problems)
{
    std::vector<std::filesystem::path> written;
    for (const RFATreeNode::Ptr& entry : entries) {
        const WriteOut out = writeFileWrapper(entry->fileWrapper(), folder);
        written.insert(written.end(), out.written().begin(), out.written().end());
        if (problems)
            for (const WriteOutProblem& problem : out.problems())
                problems->push_back(describeWriteOutProblem(problem, translate_));
    }
    return written;
}

} // namespace larkspan
