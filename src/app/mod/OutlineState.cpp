#include "app/mod/OutlineState.h"

#include "app/mod/ModTreeModel.h"

#include <QScrollBar>
#include <QTreeView>

namespace larkspan {

OutlineState::OutlineState(const QTreeView& outline, const ModTreeModel& model)
{
    collectExpanded(outline, model, {});
    for (const QModelIndex& row : outline.selectionModel()->selectedRows(ModTreeModel::NameColumn))
        selected_.insert(model.foldedPathAt(row));
    if (outline.currentIndex().isValid())
        current_ = model.foldedPathAt(outline.currentIndex());
    scrolled_ = outline.verticalScrollBar()->value();
}

// Every folder, also below collapsed ones: a folder keeps its own state
// while its parent is collapsed.
void OutlineState::collectExpanded(const QTreeView& outline, const ModTreeModel& model, const QModelIndex& parent)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex at = model.index(row, ModTreeModel::NameColumn, parent);
        if (outline.isExpanded(at))
            expanded_.insert(model.foldedPathAt(at));
        if (model.rowCount(at) > 0)
            collectExpanded(outline, model, at);
    }
}

void OutlineState::restore(QTreeView& outline, const ModTreeModel& model) const
{
    restoreBelow(outline, model, {});
    outline.verticalScrollBar()->setValue(scrolled_);
}

void OutlineState::restoreBelow(QTreeView& outline, const ModTreeModel& model, const QModelIndex& parent) const
{
    QItemSelectionModel& selection = *outline.selectionModel();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex at = model.index(row, ModTreeModel::NameColumn, parent);
        const std::string path = model.foldedPathAt(at);
        if (selected_.contains(path))
            selection.select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (path == current_)
            selection.setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        if (expanded_.contains(path))
            outline.expand(at);
        if (model.rowCount(at) > 0)
            restoreBelow(outline, model, at);
    }
}

} // namespace larkspan
