#include "app/views/ArchiveColumnView.h"

#include "app/views/ArchiveColumnList.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/views/ColumnEntryDelegate.h"
#include "app/views/EntryViewSettings.h"

#include <QScrollBar>

#include <algorithm>

namespace larkspan {

namespace {

// Whether `index` is one of the rows first..last of `parent`, or below one.
bool liesWithin(QModelIndex index, const QModelIndex& parent, int first, int last)
{
    for (; index.isValid(); index = index.parent())
        if (index.parent() == parent && index.row() >= first && index.row() <= last)
            return true;
    return false;
}

} // namespace

ArchiveColumnView::ArchiveColumnView(QWidget* parent) : QColumnView(parent)
{
    configureEntryView(*this);
    // Opening acts on the whole selection, not only on the row activated.
    connect(this, &QAbstractItemView::activated, this, [this] {
        if (selectionModel())
            emit activatedNodes(selectedNodes(*selectionModel()));
    });
}

void ArchiveColumnView::setDragAndDrop(RFADragAndDropDelegate* delegate)
{
    dragAndDrop_ = delegate;
    for (ArchiveColumnList* column : findChildren<ArchiveColumnList*>())
        column->setDragAndDrop(delegate);
}

QAbstractItemView* ArchiveColumnView::createColumn(const QModelIndex& rootIndex)
{
    auto* column = new ArchiveColumnList(viewport());
    initializeColumn(column);
    column->setDragAndDrop(dragAndDrop_);
    configureEntryView(*column);
    column->setItemDelegate(new ColumnEntryDelegate(column));
    // Folders of thousands of entries lay out without measuring each row.
    column->setUniformItemSizes(true);
    column->setRootIndex(rootIndex);
    column->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(column, &QWidget::customContextMenuRequested, this, [this, column](const QPoint& position) {
        emit entryMenuRequested(column->viewport()->mapToGlobal(position));
    });
    return column;
}

bool ArchiveColumnView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger == AllEditTriggers) {
        for (auto* column : viewport()->findChildren<ArchiveColumnList*>(Qt::FindDirectChildrenOnly)) {
            if (column->rootIndex() == index.parent()) {
                column->scrollTo(index);
                column->edit(index);
                return true;
            }
        }
    }
    return QColumnView::edit(index, trigger, event);
}

void ArchiveColumnView::resizeEvent(QResizeEvent* event)
{
    constexpr int kNarrowest = 200;
    const int room = viewport()->width();
    const int shown = std::max(1, room / kNarrowest);
    const int width = room / shown;
    // Enough widths for any depth: a new column takes the next one.
    constexpr int kDeepest = 64;
    setColumnWidths(QList<int>(kDeepest, width));
    // Laid out after the widths change: new widths alone left each column
    // where the old ones had put it, over its neighbour.
    QColumnView::resizeEvent(event);
    // The deepest columns in view, whole, and no gap before the first: the
    // toolkit scrolls by the room gained, not by columns.
    int first = 0;
    int count = 0;
    for (const QObject* child : viewport()->children())
        if (const auto* column = qobject_cast<const QAbstractItemView*>(child); column && !column->isHidden()) {
            first = count == 0 ? column->x() : std::min(first, column->x());
            ++count;
        }
    QScrollBar& bar = *horizontalScrollBar();
    QColumnView::scrollContentsBy(-bar.value() - first, 0);
    bar.setRange(0, std::max(0, count * width - room));
    bar.setValue(std::max(0, count - shown) * width);
}

void ArchiveColumnView::rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    // A removed file leaves no column behind; the selection model moves the
    // current index to a neighbour as usual.
    const QModelIndex current = currentIndex().siblingAtColumn(ArchiveTreeModel::NameColumn);
    const bool showsRemovedFolder =
        liesWithin(current, parent, first, last) && (current.parent() != parent || model()->hasChildren(current));
    if (showsRemovedFolder && selectionModel())
        selectionModel()->setCurrentIndex(parent, QItemSelectionModel::ClearAndSelect);
    QColumnView::rowsAboutToBeRemoved(parent, first, last);
}

} // namespace larkspan
