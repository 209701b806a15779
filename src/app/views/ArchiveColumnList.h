#pragma once

#include "app/dnd/EntryDropSupport.h"

#include <QListView>

#include <vector>

namespace larkspan {

// One column of the column browser: the entries of one folder.
class ArchiveColumnList final : public EntryDragAndDropView<QListView> {
    Q_OBJECT
public:
    explicit ArchiveColumnList(QWidget* parent = nullptr) : EntryDragAndDropView(parent, DragOrigin::Tree) {}

protected:
    // The selected entries of this column, rows ascending.
    std::vector<RFATreeNode::Ptr> nodesToDrag() const override;
    // Onto a folder's row: into it. Onto a file's row: into the column's
    // folder, above the file. Between rows: that place of the column's
    // folder; past the last row: its end.
    std::optional<DropTarget> dropTargetAt(const QPoint& position) const override;
};

} // namespace larkspan
