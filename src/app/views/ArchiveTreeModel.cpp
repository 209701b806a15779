#include "app/views/ArchiveTreeModel.h"

#include "app/views/CutMarks.h"
#include "app/views/SizeText.h"
#include "model/RFAArchive.h"

#include <stdexcept>

namespace larkspan {

ArchiveTreeModel::ArchiveTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

ArchiveTreeModel::~ArchiveTreeModel() = default;

void ArchiveTreeModel::setArchive(const RFAArchive* archive)
{
    std::vector<RFATreeNode::Ptr> roots;
    if (archive)
        roots = archive->rootNodes();
    std::shared_ptr<ChangeHub> hub = roots.empty() ? nullptr : roots.front()->changeHub();
    for (const RFATreeNode::Ptr& root : roots)
        if (root->changeHub() != hub)
            throw std::invalid_argument("The top-level nodes of an archive must share one change hub");

    beginResetModel();
    childrenToken_.reset();
    propertiesToken_.reset();
    pending_.clear();
    sizes_.clear();
    sortedRows_.clear();
    roots_ = std::move(roots);
    rootRows_.clear();
    for (std::size_t row = 0; row < roots_.size(); ++row)
        rootRows_.emplace(roots_[row].get(), static_cast<int>(row));
    hub_ = std::move(hub);
    if (hub_) {
        childrenToken_ = hub_->observe({.properties = {NodeProperty::Children}, .prior = true},
                                       [this](const ChangeReport& report) { childrenChanging(report); });
        propertiesToken_ = hub_->observe({.properties = {NodeProperty::Name, NodeProperty::FullSize}},
                                         [this](const ChangeReport& report) { propertyChanged(report); });
    }
    endResetModel();
}

void ArchiveTreeModel::setCutMarks(const CutMarks* marks)
{
    cutMarks_ = marks;
    connect(marks, &CutMarks::changed, this, [this](const std::vector<RFATreeNode::Ptr>& nodes) {
        for (const RFATreeNode::Ptr& node : nodes)
            if (const QModelIndex changed = indexForNode(*node); changed.isValid())
                emit dataChanged(changed, changed.siblingAtColumn(SizeColumn), {Qt::DecorationRole, Qt::ForegroundRole});
    });
}

RFATreeNode* ArchiveTreeModel::nodeAt(const QModelIndex& index)
{
    return static_cast<RFATreeNode*>(index.internalPointer());
}

RFATreeNode::Ptr ArchiveTreeModel::nodeForIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return nodeAt(index)->shared_from_this();
}

int ArchiveTreeModel::storedRowOf(const RFATreeNode& node) const
{
    if (const std::optional<std::size_t> row = node.indexInParent())
        return static_cast<int>(*row);
    const auto root = rootRows_.find(&node);
    return root == rootRows_.end() ? -1 : root->second;
}

int ArchiveTreeModel::rowOf(const RFATreeNode& node) const
{
    const int stored = storedRowOf(node);
    if (stored < 0 || sort_.key == EntrySortKey::None)
        return stored;
    const RFATreeNode::Ptr folder = node.indexInParent() ? node.parent() : nullptr;
    return orderOf(folder.get())->rowOfChild[static_cast<std::size_t>(stored)];
}

const SortedRows::Order* ArchiveTreeModel::orderOf(const RFATreeNode* folder) const
{
    if (sort_.key == EntrySortKey::None)
        return nullptr;
    const std::size_t count = folder ? folder->countOfChildren() : roots_.size();
    return &sortedRows_.orderOf(
        folder, count,
        [&](std::size_t child) -> const RFATreeNode& {
            return folder ? *folder->objectInChildrenAtIndex(child) : *roots_[child];
        },
        sort_, [this](const RFATreeNode& node) { return sizes_.sizeOf(node); });
}

std::size_t ArchiveTreeModel::childAtRow(const RFATreeNode* folder, int row) const
{
    const SortedRows::Order* order = orderOf(folder);
    const auto at = static_cast<std::size_t>(row);
    return order ? order->childAtRow[at] : at;
}

int ArchiveTreeModel::archiveRow(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this ? storedRowOf(*nodeAt(index)) : -1;
}

std::size_t ArchiveTreeModel::insertionPosition(const QModelIndex& parent, int row) const
{
    const RFATreeNode* folder = nodeOfParent(parent);
    if (row < 0 || row >= rowCount(parent))
        return folder ? folder->countOfChildren() : roots_.size();
    return childAtRow(folder, row);
}

int ArchiveTreeModel::sortColumn() const
{
    switch (sort_.key) {
    case EntrySortKey::Name:
        return NameColumn;
    case EntrySortKey::Size:
        return SizeColumn;
    default:
        return -1;
    }
}

void ArchiveTreeModel::sort(int column, Qt::SortOrder order)
{
    const EntrySortKey key = column == NameColumn ? EntrySortKey::Name
                             : column == SizeColumn ? EntrySortKey::Size
                                                    : EntrySortKey::None;
    if (key == sort_.key && (key == EntrySortKey::None || order == sort_.order))
        return;
    sortAgain({key, order});
}

void ArchiveTreeModel::sortAgainLater()
{
    if (sortPending_ || sort_.key == EntrySortKey::None)
        return;
    sortPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            sortPending_ = false;
            sortAgain(sort_);
        },
        Qt::QueuedConnection);
}

void ArchiveTreeModel::sortAgain(EntrySort sort)
{
    // The views keep their selections by row while the layout changes: rows
    // still count in the old order until they have done so.
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    sort_ = sort;
    sortedRows_.clear();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << indexForNode(*nodeAt(index), index.column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

bool ArchiveTreeModel::isShown(const RFATreeNode& node) const
{
    // Up through the folders that really hold the node: a removed node keeps
    // its parent link.
    std::shared_ptr<const RFATreeNode> at = node.shared_from_this();
    while (RFATreeNode::Ptr folder = at->parent()) {
        if (!at->indexInParent())
            return false;
        at = std::move(folder);
    }
    return rootRows_.contains(at.get());
}

QModelIndex ArchiveTreeModel::indexForNode(const RFATreeNode& node, int column) const
{
    if (column < 0 || column >= ColumnCount || !isShown(node))
        return {};
    return createIndex(rowOf(node), column, &node);
}

RFATreeNode* ArchiveTreeModel::nodeOfParent(const QModelIndex& parent) const
{
    return parent.isValid() && parent.column() == NameColumn ? nodeAt(parent) : nullptr;
}

QModelIndex ArchiveTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    const RFATreeNode* folder = parent.isValid() ? nodeAt(parent) : nullptr;
    const std::size_t child = childAtRow(folder, row);
    const RFATreeNode* node = folder ? folder->objectInChildrenAtIndex(child).get() : roots_[child].get();
    return createIndex(row, column, node);
}

QModelIndex ArchiveTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const RFATreeNode& node = *nodeAt(child);
    const RFATreeNode::Ptr folder = node.parent();
    if (!folder || !node.indexInParent())
        return {};
    const int row = rowOf(*folder);
    return row < 0 ? QModelIndex() : createIndex(row, NameColumn, folder.get());
}

int ArchiveTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(roots_.size());
    const RFATreeNode* folder = nodeOfParent(parent);
    return folder ? static_cast<int>(folder->countOfChildren()) : 0;
}

int ArchiveTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

bool ArchiveTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !roots_.empty();
    const RFATreeNode* folder = nodeOfParent(parent);
    return folder && !folder->isLeaf();
}

QVariant ArchiveTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const RFATreeNode& node = *nodeAt(index);
    if (cutMarks_ && (role == Qt::ForegroundRole || (role == Qt::DecorationRole && index.column() == NameColumn)))
        if (QVariant look = cutMarks_->look(node, role, icons_.iconFor(node)); look.isValid())
            return look;
    if (index.column() == NameColumn) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(node.name());
        case Qt::DecorationRole:
            return icons_.iconFor(node);
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole:
        return sizeText(sizes_.sizeOf(node));
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ArchiveTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return tr("Name");
    case SizeColumn:
        return tr("Size");
    default:
        return {};
    }
}

Qt::ItemFlags ArchiveTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    if (nodeAt(index)->isLeaf() || nodeAt(index)->countOfChildren() == 0)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

bool ArchiveTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const RFATreeNode::Ptr node = nodeForIndex(index);
    if (!node || role != Qt::EditRole || index.column() != NameColumn)
        return false;
    const QString newName = value.toString();
    // An editor closed without a change must not become an undo step.
    if (newName.toStdString() == node->name())
        return false;
    emit renameRequested(node, newName);
    return true;
}

void ArchiveTreeModel::childrenChanging(const ChangeReport& report)
{
    const int row = static_cast<int>(report.index);
    if (report.isPrior) {
        PendingChange change;
        change.shown = isShown(report.node);
        if (change.shown) {
            const QModelIndex parent = indexForNode(report.node);
            if (report.kind == ChangeKind::Insertion) {
                // Sorted, the new entry comes last until the folder is sorted again.
                const SortedRows::Order* order = orderOf(&report.node);
                const int shownAt = order ? static_cast<int>(order->childAtRow.size()) : row;
                beginInsertRows(parent, shownAt, shownAt);
            } else {
                change.leaving = report.node.objectInChildrenAtIndex(report.index);
                beginRemoveRows(parent, rowOf(*change.leaving), rowOf(*change.leaving));
            }
        }
        pending_.push_back(std::move(change));
        return;
    }
    // A did-change without its will-change began before this model listened.
    if (pending_.empty())
        return;
    PendingChange change = std::move(pending_.back());
    pending_.pop_back();
    // Forgotten before the views hear of the change, so that they read the
    // new sums; the fullSize announcements that follow repaint them.
    sizes_.forgetWithAncestors(report.node);
    if (report.kind == ChangeKind::Insertion) {
        sortedRows_.childInserted(&report.node, report.index);
        // Its sums and order may have changed while it was in another document.
        const RFATreeNode& inserted = *report.node.objectInChildrenAtIndex(report.index);
        sizes_.forgetSubtree(inserted);
        sortedRows_.forgetSubtree(inserted);
    } else {
        sortedRows_.childRemoved(&report.node, report.index);
    }
    if (!change.shown)
        return;
    if (report.kind == ChangeKind::Insertion) {
        endInsertRows();
        sortAgainLater();
    } else {
        endRemoveRows();
        releaseLater(std::move(change.leaving));
    }
}

void ArchiveTreeModel::propertyChanged(const ChangeReport& report)
{
    // Also for folders not shown: they may come back.
    if (report.property == NodeProperty::FullSize)
        sizes_.forget(report.node);
    const int column = report.property == NodeProperty::Name ? NameColumn : SizeColumn;
    const QModelIndex changed = indexForNode(report.node, column);
    if (!changed.isValid())
        return;
    emit dataChanged(changed, changed);
    if (column == sortColumn())
        sortAgainLater();
}

void ArchiveTreeModel::releaseLater(RFATreeNode::Ptr node)
{
    if (released_.empty())
        QMetaObject::invokeMethod(this, [this] { released_.clear(); }, Qt::QueuedConnection);
    released_.push_back(std::move(node));
}

} // namespace larkspan
