#pragma once

#include "app/dnd/EntryDropSupport.h"
#include "model/RFATreeNode.h"

#include <QTreeView>

#include <vector>

namespace larkspan {

// The outline list over an ArchiveTreeModel: Name and Size, in the
// archive's own order or sorted by a click on a column's header.
class ArchiveOutlineView final : public EntryDragAndDropView<QTreeView> {
    Q_OBJECT

public:
    explicit ArchiveOutlineView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

signals:
    // Activation (double click; Return, except on macOS where it renames):
    // the entries to open, the selection in tree order. The view opens
    // nothing itself.
    void activatedNodes(const std::vector<std::shared_ptr<larkspan::RFATreeNode>>& nodes);

protected:
    // The selection, in tree order.
    std::vector<RFATreeNode::Ptr> nodesToDrag() const override;
    // Onto a row: into it (a file refuses). Between rows: that place of
    // their folder; below an open folder, its front. Beside the top-level
    // entries: nowhere.
    std::optional<DropTarget> dropTargetAt(const QPoint& position) const override;
};

} // namespace larkspan
