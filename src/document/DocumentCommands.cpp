// New Folder, Delete, Add Files and Extract.

#include "document/ArchiveDocument.h"

#include "tree/FileWrapper.h"
#include "tree/UndoHistory.h"

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
    std::string name = tr("Unnamed");
    for (unsigned long counter = 1; (*destination)->hasChildWithName(name); ++counter)
        name = fillPlaceholders(tr("Unnamed %lu"), {std::to_string(counter)});
    history_->setActionName("New Folder");
    (*destination)->appendChild(RFATreeNode::initAsDirectory(name, *destination));
    if (inSearchMode_)
        updateSearchPredicate();
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
        if (!document || !folder)
            return;
        std::vector<std::string> problems;
        document->namesForFiles(document->selection_, *folder, &problems);
        if (!problems.empty())
            document->host_.reportProblems(problems);
    });
}

std::vector<std::filesystem::path> ArchiveDocument::namesForFiles(const std::vector<RFATreeNode::Ptr>& entries,
                                                                  const std::filesystem::path& folder,
                                                                  std::vector<std::string>* problems)
{
    std::vector<std::filesystem::path> written;
    for (const RFATreeNode::Ptr& entry : entries) {
        WriteOutResult result = writeFileWrapper(entry->fileWrapper(), folder);
        written.insert(written.end(), result.writtenFiles.begin(), result.writtenFiles.end());
        if (!problems)
            continue;
        for (const SkippedName& skipped : result.skipped)
            problems->push_back(fillPlaceholders(tr("\"%@\" was not written: its name would leave the folder."),
                                                 {skipped.name}));
        for (const FileError& failure : result.failures)
            problems->push_back(failure.message);
    }
    return written;
}

} // namespace larkspan
