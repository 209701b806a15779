#include "app/views/ArchiveOutlineView.h"

#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/views/EntryViewSettings.h"

#include <QHeaderView>

namespace larkspan {

ArchiveOutlineView::ArchiveOutlineView(QWidget* parent) : EntryDragAndDropView(parent, DragOrigin::Tree)
{
    configureEntryView(*this);
    // Rows are measured once, not one by one: folders hold many thousands.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    // A header click sorts by its column, a second the other way round, a
    // third shows the archive's own order again.
    header()->setSortIndicatorClearable(true);
    setSortingEnabled(true);
    // Opening acts on the whole selection, not only on the row activated.
    connect(this, &QAbstractItemView::activated, this, [this] {
        if (selectionModel())
            emit activatedNodes(selectedNodes(*selectionModel()));
    });
}

void ArchiveOutlineView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    // A new model starts in its own order (the header would show a sort).
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    header()->setSectionResizeMode(ArchiveTreeModel::NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(ArchiveTreeModel::SizeColumn, QHeaderView::Interactive);
    header()->resizeSection(ArchiveTreeModel::SizeColumn, fontMetrics().horizontalAdvance(QStringLiteral("0000.00 MB")) * 3 / 2);
}

std::optional<DropTarget> ArchiveOutlineView::dropTargetAt(const QPoint& position) const
{
    const auto* entries = qobject_cast<const ArchiveTreeModel*>(model());
    const QModelIndex index = indexAt(position).siblingAtColumn(ArchiveTreeModel::NameColumn);
    if (!entries || !index.isValid())
        return std::nullopt;
    const QRect cell = visualRect(index);
    const QRect row(0, cell.top(), viewport()->width(), cell.height());
    const RowZone zone = rowZone(row, position);
    const RFATreeNode::Ptr node = entries->nodeForIndex(index);
    if (zone == RowZone::On)
        return DropTarget{node, -1, row};
    if (zone == RowZone::Below && !node->isLeaf() && isExpanded(index))
        return DropTarget{node, static_cast<int>(entries->insertionPosition(index, 0)), rowHighlight(row, zone)};
    const QModelIndex folder = index.parent();
    if (!folder.isValid())
        return std::nullopt;
    const int before = index.row() + (zone == RowZone::Below ? 1 : 0);
    return DropTarget{entries->nodeForIndex(folder), static_cast<int>(entries->insertionPosition(folder, before)),
                      rowHighlight(row, zone)};
}

std::vector<RFATreeNode::Ptr> ArchiveOutlineView::nodesToDrag() const
{
    return selectionModel() ? selectedNodes(*selectionModel()) : std::vector<RFATreeNode::Ptr>();
}

} // namespace larkspan
