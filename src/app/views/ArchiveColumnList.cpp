#include "app/views/ArchiveColumnList.h"

#include "app/views/ArchiveTreeModel.h"

#include <algorithm>

namespace larkspan {

std::optional<DropTarget> ArchiveColumnList::dropTargetAt(const QPoint& position) const
{
    const auto* entries = qobject_cast<const ArchiveTreeModel*>(model());
    if (!entries)
        return std::nullopt;
    // Null in the first column, which shows the top-level entries.
    const RFATreeNode::Ptr folder = entries->nodeForIndex(rootIndex());
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        if (!folder)
            return std::nullopt;
        const int rows = entries->rowCount(rootIndex());
        const QRect end = rows > 0 ? rowHighlight(visualRect(entries->index(rows - 1, 0, rootIndex())), RowZone::Below)
                                   : QRect(0, 0, viewport()->width(), 0);
        return DropTarget{folder, static_cast<int>(folder->countOfChildren()), end};
    }
    const QRect row = visualRect(index);
    const RowZone zone = rowZone(row, position);
    const RFATreeNode::Ptr node = entries->nodeForIndex(index);
    if (zone == RowZone::On && !node->isLeaf())
        return DropTarget{node, -1, row};
    if (!folder)
        return std::nullopt;
    const RowZone between = zone == RowZone::On ? RowZone::Above : zone;
    const int before = index.row() + (between == RowZone::Below ? 1 : 0);
    return DropTarget{folder, static_cast<int>(entries->insertionPosition(rootIndex(), before)), rowHighlight(row, between)};
}

std::vector<RFATreeNode::Ptr> ArchiveColumnList::nodesToDrag() const
{
    const auto* entries = qobject_cast<const ArchiveTreeModel*>(model());
    if (!entries)
        return {};
    QModelIndexList rows = selectedIndexes();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<RFATreeNode::Ptr> nodes;
    for (const QModelIndex& index : rows)
        if (RFATreeNode::Ptr node = entries->nodeForIndex(index))
            nodes.push_back(std::move(node));
    return nodes;
}

} // namespace larkspan
