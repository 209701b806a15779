// The status line: how many entries the user looks at, how many of them are
// selected, and how many bytes they hold.

#include "document/StatusBarText.h"

#include "document/ArchiveDocument.h"
#include "document/FileSizeFormatter.h"

#include <algorithm>
#include <optional>

namespace larkspan {

namespace {

// The bytes of the files among `nodes`. Nothing when all of them are
// folders: as in a file manager, a folder's size is not added up for the
// status line, and "0 Bytes" would say it holds nothing.
std::optional<std::uint64_t> dataLength(const std::vector<RFATreeNode::Ptr>& nodes)
{
    std::uint64_t total = 0;
    bool anyFile = nodes.empty();
    for (const RFATreeNode::Ptr& node : nodes) {
        if (node->isLeaf()) {
            total += node->size();
            anyFile = true;
        }
    }
    return anyFile ? std::optional(total) : std::nullopt;
}

} // namespace

std::string statusBarText(const ArchiveDocument& document, Translator translate)
{
    const auto tr = [&](const char* text) { return translated(translate, text); };
    const std::vector<RFATreeNode::Ptr>& selection = document.selection().nodes();
    const std::vector<RFATreeNode::Ptr>& found = document.foundEntries().nodes();
    const std::vector<RFATreeNode::Ptr>& trees = document.topLevelNodes();
    const auto objects = [&](std::size_t count, std::optional<std::uint64_t> bytes) {
        if (!bytes) {
            if (count == 1)
                return tr("1 object");
            return fillPlaceholders(tr("%lu objects"), {std::to_string(count)});
        }
        const std::string size = FileSizeFormatter::stringForNumber(*bytes, translate);
        if (count == 1)
            return fillPlaceholders(tr("1 object, %@"), {size});
        return fillPlaceholders(tr("%lu objects, %@"), {std::to_string(count), size});
    };
    const auto selected = [&](std::size_t count, std::size_t of, std::optional<std::uint64_t> bytes) {
        if (!bytes) {
            if (count == 1)
                return fillPlaceholders(tr("1 object of %lu selected"), {std::to_string(of)});
            return fillPlaceholders(tr("%lu objects of %lu selected"), {std::to_string(count), std::to_string(of)});
        }
        const std::string size = FileSizeFormatter::stringForNumber(*bytes, translate);
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
        return objects(first.countOfChildren(), std::nullopt);
    // A selection may span levels (Select All in an outline with open
    // folders): it is counted against the entries of every level it touches.
    std::vector<const RFATreeNode*> levels;
    std::size_t of = 0;
    for (const RFATreeNode::Ptr& node : selection) {
        const RFATreeNode* folder = node->parent().get();
        if (std::find(levels.begin(), levels.end(), folder) == levels.end()) {
            levels.push_back(folder);
            of += siblings(*node);
        }
    }
    return selected(selection.size(), of, dataLength(selection));
}

} // namespace larkspan
