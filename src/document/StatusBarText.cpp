// The status line: how many entries the user looks at, how many of them are
// selected, and how many bytes they hold.

#include "document/ArchiveDocument.h"

#include "document/FileSizeFormatter.h"

namespace larkspan {

namespace {

std::uint64_t dataLength(const std::vector<RFATreeNode::Ptr>& nodes)
{
    std::uint64_t total = 0;
    for (const RFATreeNode::Ptr& node : nodes)
        if (node->isLeaf())
            total += node->data()->size();
    return total;
}

} // namespace

std::string ArchiveDocument::statusBarText() const
{
    const auto objects = [&](std::size_t count, std::uint64_t bytes) {
        const std::string size = FileSizeFormatter::stringForNumber(bytes, translate_);
        if (count == 1)
            return fillPlaceholders(tr("1 object, %@"), {size});
        return fillPlaceholders(tr("%lu objects, %@"), {std::to_string(count), size});
    };
    const auto selected = [&](std::size_t count, std::size_t of, std::uint64_t bytes) {
        const std::string size = FileSizeFormatter::stringForNumber(bytes, translate_);
        if (count == 1)
            return fillPlaceholders(tr("1 object of %lu selected, %@"), {std::to_string(of), size});
        return fillPlaceholders(tr("%lu objects of %lu selected, %@"),
                                {std::to_string(count), std::to_string(of), size});
    };
    // The entries at a node's level: its folder's children, or the top level.
    const auto siblings = [&](const RFATreeNode& node) {
        const RFATreeNode::Ptr folder = node.parent();
        return folder ? folder->countOfChildren() : archive_->rootNodes().size();
    };

    if (inSearchMode_) {
        if (selection_.empty())
            return objects(foundEntries_.size(), dataLength(foundEntries_));
        return selected(selection_.size(), foundEntries_.size(), dataLength(selection_));
    }
    if (selection_.empty()) {
        std::uint64_t total = 0;
        for (const RFATreeNode::Ptr& top : archive_->rootNodes())
            total += top->fullSize();
        return objects(1, total);
    }
    const RFATreeNode& first = *selection_.front();
    if (selection_.size() == 1 && first.isLeaf())
        return selected(1, siblings(first), dataLength(selection_));
    if (selection_.size() == 1)
        return objects(first.countOfChildren(), 0);
    return selected(selection_.size(), siblings(first), dataLength(selection_));
}

} // namespace larkspan
