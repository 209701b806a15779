#pragma once

#include "app/views/EntryIcons.h"
#include "app/views/FolderSizeCache.h"
#include "app/views/SortedRows.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

#include <QAbstractItemModel>

#include <memory>
#include <unordered_map>
#include <vector>

namespace larkspan {

class CutMarks;
class RFAArchive;

// The archive's trees as one item model for the outline and the column
// browser: the top-level nodes are the top-level rows, columns Name and
// Size (a file's size, a folder's the sum of the files below it). The model
// only reads the tree; it follows the changes the nodes announce to their
// change hub and turns them into row and data signals.
//
// Rows are listed in the archive's order, or sorted by Name or Size: a
// sort changes only the rows, never the tree. Sorted, a new entry shows
// last until the folder is sorted again, once the event that added it is
// over.
//
// Each index points at its node (internalPointer, a raw RFATreeNode*). The
// tree keeps its nodes alive; a node leaving it is held until the event loop
// next runs, so that no index handed out before the removal points at a
// destroyed node while the views catch up.
class ArchiveTreeModel final : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { NameColumn, SizeColumn, ColumnCount };

    explicit ArchiveTreeModel(QObject* parent = nullptr);
    ~ArchiveTreeModel() override;

    // Shows the top-level nodes of `archive` (nothing for null) and follows
    // the hub they announce to, which all of them must share: give the roots
    // their hub before calling this. The list of top-level nodes is copied,
    // so call again whenever the document replaces it.
    void setArchive(const RFAArchive* archive);
    // Entries marked here are drawn dimmed.
    void setCutMarks(const CutMarks* marks);

    // Null for an index that is not one of this model's (or has gone stale).
    RFATreeNode::Ptr nodeForIndex(const QModelIndex& index) const;
    // Invalid when the node is not in the trees shown. O(depth).
    QModelIndex indexForNode(const RFATreeNode& node, int column = NameColumn) const;
    // Where the entry stands among its folder's children (or the top-level
    // nodes) in the archive, whatever the sort; -1 for an invalid index.
    int archiveRow(const QModelIndex& index) const;
    // The child position in the archive that an insertion before `row` of
    // `parent` takes: before the entry shown there, or at the end for the
    // row past the last.
    std::size_t insertionPosition(const QModelIndex& parent, int row) const;

    // Name or Size, or -1 for the archive's own order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // True for every folder, even an empty one: the column browser opens a
    // column only for an index that has children.
    // An empty folder's flags still say it has none (Qt::ItemNeverHasChildren):
    // the outline draws no expand arrow for it.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Does not rename: asks through renameRequested, so that the document can
    // check the name and rename undoably. The tree's announcement of the new
    // name is what updates the views.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void renameRequested(const std::shared_ptr<larkspan::RFATreeNode>& node, const QString& newName);

private:
    // One will-change of the children seen, waiting for its did-change.
    struct PendingChange {
        bool shown = false;
        RFATreeNode::Ptr leaving; // the child being removed, kept until the views caught up
    };

    static RFATreeNode* nodeAt(const QModelIndex& index);
    RFATreeNode* nodeOfParent(const QModelIndex& parent) const;
    int rowOf(const RFATreeNode& node) const;
    int storedRowOf(const RFATreeNode& node) const;
    // Null for the archive's order (rows are child positions).
    const SortedRows::Order* orderOf(const RFATreeNode* folder) const;
    std::size_t childAtRow(const RFATreeNode* folder, int row) const;
    void sortAgainLater();
    void sortAgain(EntrySort sort);
    bool isShown(const RFATreeNode& node) const;
    void childrenChanging(const ChangeReport& report);
    void propertyChanged(const ChangeReport& report);
    void releaseLater(RFATreeNode::Ptr node);

    std::vector<RFATreeNode::Ptr> roots_;
    std::unordered_map<const RFATreeNode*, int> rootRows_;
    std::shared_ptr<ChangeHub> hub_;
    ObserverToken childrenToken_;
    ObserverToken propertiesToken_;
    std::vector<PendingChange> pending_;
    std::vector<RFATreeNode::Ptr> released_;
    mutable EntryIcons icons_;
    mutable FolderSizeCache sizes_;
    EntrySort sort_;
    mutable SortedRows sortedRows_;
    bool sortPending_ = false;
    const CutMarks* cutMarks_ = nullptr;
};

} // namespace larkspan
