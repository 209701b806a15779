#include "app/ArchiveOutlineView.h"

#include "app/ArchiveSelection.h"
#include "app/ArchiveTreeModel.h"
#include "app/EntryViewSettings.h"

#include <QHeaderView>

namespace larkspan {

ArchiveOutlineView::ArchiveOutlineView(QWidget* parent) : QTreeView(parent)
{
    configureEntryView(*this);
    // Rows are measured once, not one by one: folders hold many thousands.
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
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
    header()->setSectionResizeMode(ArchiveTreeModel::NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(ArchiveTreeModel::SizeColumn, QHeaderView::Interactive);
    header()->resizeSection(ArchiveTreeModel::SizeColumn, fontMetrics().horizontalAdvance(QStringLiteral("0000.00 MB")) * 3 / 2);
}

} // namespace larkspan
