#include "app/window/SearchResultsView.h"

#include "app/window/MyDocument.h"
#include "app/window/SearchResultsModel.h"

#include <algorithm>

namespace larkspan {

const SearchResultsModel* SearchResultsView::results() const
{
    return qobject_cast<const SearchResultsModel*>(model());
}

std::optional<DropTarget> SearchResultsView::dropTargetAt(const QPoint& position) const
{
    const QModelIndex index = indexAt(position);
    if (!results() || !index.isValid())
        return std::nullopt;
    const QRect cell = visualRect(index);
    const bool below = rowZone(QRect(0, cell.top(), viewport()->width(), cell.height()), position) == RowZone::Below;
    const int row = index.row() + (below ? 1 : 0);
    RFATreeNode::Ptr node = results()->nodeAt(row);
    if (!node)
        return std::nullopt;
    const QRect target = visualRect(results()->index(row, 0));
    return DropTarget{std::move(node), -1, QRect(0, target.top(), viewport()->width(), target.height())};
}

std::vector<RFATreeNode::Ptr> SearchResultsView::selectedNodes() const
{
    if (!results() || !selectionModel())
        return {};
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<RFATreeNode::Ptr> nodes;
    for (const QModelIndex& index : rows)
        if (RFATreeNode::Ptr node = results()->nodeAt(index.row()))
            nodes.push_back(std::move(node));
    return nodes;
}

void SearchResultsView::dropEvent(QDropEvent* event)
{
    EntryDragAndDropView::dropEvent(event);
    if (RFADragAndDropDelegate* delegate = dragAndDrop())
        delegate->document().document()->browse().updateSearchPredicate();
}

} // namespace larkspan
