#include "app/window/SearchResultsModel.h"

#include "app/views/CutMarks.h"
#include "app/views/SizeText.h"

namespace larkspan {

SearchResultsModel::SearchResultsModel(std::shared_ptr<ArchiveDocument> document, QObject* parent)
    : QAbstractTableModel(parent), document_(std::move(document))
{
    takeRows();
    documentObserver_ = document_->addObserver([this](DocumentProperty property, bool isPrior) {
        if (property == DocumentProperty::FoundEntries || property == DocumentProperty::Archive) {
            if (isPrior) {
                beginResetModel();
                return;
            }
            takeRows();
            endResetModel();
            if (property == DocumentProperty::Archive)
                watchHub();
        }
    });
    watchHub();
}

SearchResultsModel::~SearchResultsModel()
{
    document_->removeObserver(documentObserver_);
}

void SearchResultsModel::takeRows()
{
    const std::vector<RFATreeNode::Ptr>& found = document_->foundEntries().nodes();
    const std::vector<std::size_t> order = sortedPositions(
        found.size(), [&found](std::size_t i) -> const RFATreeNode& { return *found[i]; }, sort_,
        [](const RFATreeNode& node) { return node.fullSize(); });
    rows_.clear();
    rows_.reserve(found.size());
    for (const std::size_t i : order)
        rows_.push_back(found[i]);
    rowByNode_.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rowByNode_.emplace(rows_[i].get(), static_cast<int>(i));
}

void SearchResultsModel::watchHub()
{
    // Names, paths and sizes of results change with renames and edits; the
    // rows themselves only with a new result set.
    entryChanges_ = document_->changeHub()->observe(
        {.properties = {NodeProperty::Name, NodeProperty::FullPath, NodeProperty::FullSize}},
        [this](const ChangeReport& report) {
            const int row = rowOf(report.node);
            if (row >= 0)
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        });
}

void SearchResultsModel::sort(int column, Qt::SortOrder order)
{
    static constexpr EntrySortKey keys[] = {EntrySortKey::Name, EntrySortKey::Path, EntrySortKey::Size};
    sort_ = {column >= 0 && column < ColumnCount ? keys[column] : EntrySortKey::None, order};
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<RFATreeNode::Ptr> nodes;
    nodes.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        nodes.push_back(nodeAt(index.row()));
    takeRows();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const RFATreeNode::Ptr& node = nodes[static_cast<std::size_t>(i)];
        after << (node ? index(rowOf(*node), before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void SearchResultsModel::setCutMarks(const CutMarks* marks)
{
    cutMarks_ = marks;
    connect(marks, &CutMarks::changed, this, [this](const std::vector<RFATreeNode::Ptr>& nodes) {
        for (const RFATreeNode::Ptr& node : nodes)
            if (const int row = rowOf(*node); row >= 0)
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::DecorationRole, Qt::ForegroundRole});
    });
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

RFATreeNode::Ptr SearchResultsModel::nodeAt(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

int SearchResultsModel::rowOf(const RFATreeNode& node) const
{
    const auto found = rowByNode_.find(&node);
    return found == rowByNode_.end() ? -1 : found->second;
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const
{
    const RFATreeNode::Ptr node = nodeAt(index.row());
    if (!node)
        return {};
    if (cutMarks_ && (role == Qt::ForegroundRole || (role == Qt::DecorationRole && index.column() == Name)))
        if (QVariant look = cutMarks_->look(*node, role, icons_.iconFor(*node)); look.isValid())
            return look;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Name)
            return QString::fromStdString(node->name());
        if (index.column() == Path)
            return QString::fromStdString(node->fullPath());
        return node->isLeaf() ? sizeText(node->fullSize()) : QString();
    case Qt::DecorationRole:
        return index.column() == Name ? QVariant(icons_.iconFor(*node)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Size ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Name:
        return tr("Name");
    case Path:
        return tr("Path");
    case Size:
        return tr("Size");
    }
    return {};
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}

} // namespace larkspan
