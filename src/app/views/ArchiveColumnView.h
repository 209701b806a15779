#pragma once

#include "model/RFATreeNode.h"

#include <QColumnView>
#include <QPointer>

#include <vector>

namespace larkspan {

class RFADragAndDropDelegate;

// The column browser over an ArchiveTreeModel.
class ArchiveColumnView final : public QColumnView {
    Q_OBJECT

public:
    explicit ArchiveColumnView(QWidget* parent = nullptr);

    // Drags from every column and drops into them, carried out by the window.
    void setDragAndDrop(RFADragAndDropDelegate* delegate);

signals:
    // Activation (double click; Return, except on macOS where it renames):
    // the entries to open, the selection in tree order. The view opens
    // nothing itself.
    void activatedNodes(const std::vector<std::shared_ptr<larkspan::RFATreeNode>>& nodes);
    // A right click in a column, at this point of the screen.
    void entryMenuRequested(const QPoint& globalPosition);

protected:
    // Columns copy the browser's settings only when they are made: every
    // column is made here, with the settings of every entry view.
    QAbstractItemView* createColumn(const QModelIndex& rootIndex) override;
    // A name asked to be edited (Rename, New Folder) is edited in the column
    // that lists it: the browser's own editor would stand where the columns
    // were before they scrolled.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // A column whose folder is removed would go on showing the top level
    // (its root index turns invalid): the browser moves up to the folder that
    // held the removed rows first.
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;
    // Columns share the width evenly, so that scrolling to a deep folder
    // moves by whole columns: a column partly scrolled away hid the icons
    // and the start of the names (at first, the archive's top level).
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<RFADragAndDropDelegate> dragAndDrop_;
};

} // namespace larkspan
