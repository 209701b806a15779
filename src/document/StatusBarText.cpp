// The status line: how many entries the user looks at, how many of them are
// selected, and how many bytes they hold.

#include "document/StatusBarText.h"

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

std::string statusBarText(const ArchiveDocument& document, Translator translate)
{
    const auto tr = [&](const char* text) { return translated(translate, text); };
    const std::vector<RFATreeNode::Ptr>& selection = document.selection().nodes();
    const std::vector<RFATreeNode::Ptr>& found = document.foundEntries().nodes();
    const std::vector<RFATreeNode::Ptr>& trees = document.topLevelNodes();
    const auto objects = [&](std::size_t count, std::uint64_t bytes) {
        const std::string size = FileSizeFormatter::stringForNumber(bytes, translate);
        if (count == 1)
            return fillPlaceholders(tr("1 object, %@"), {size});
        return fillPlaceholders(tr("%lu objects, %@"), {std::to_string(count), size});
    };
    const auto selected = [&](std::size_t count, std::size_t of, std::uint64_t bytes) {
        const std::string size = FileSizeFormatter::stringForNumber(bytes, translate);
        if (count == 1)
            return fillPlaceholders(tr("1 object of %lu selected, %@"), {std::to_string(of), size});
        return fillPlaceholders(tr("%lu objects of %lu selected, %@"),
                                {std::to_string(count), std::to_string(of), size});
    };
    // The entries at a node's level: its folder's children, or the top level.
    const auto siblings = [&](const RFATreeNode& node) {
        const RFATreeNode::Ptr folder = node.parent();
        return folder ? folder->countOfChildren() : trees.size();
    };

    if (document.browse().inSearchMode()) {
        if (selection.empty())
            return objects(found.size(), dataLength(found));
        return selected(selection.size(), found.size(), dataLength(selection));
    }
    if (selection.empty()) {
        std::uint64_t total = 0;
        for (const RFATreeNode::Ptr& top : trees)
            total += top->fullSize();
        return objects(1, total);
    }
    const RFATreeNode& first = *selection.front();
    if (selection.size() == 1 && first.isLeaf())
        return selected(1, siblings(first), dataLength(selection));
    if (selection.size() == 1)
        return objects(first.countOfChildren(), 0);
    return selected(selection.size(), siblings(first), dataLength(selection));
}

} // namespace larkspan
