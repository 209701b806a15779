#include "app/mod/ModTreeModel.h"

#include "app/views/SizeText.h"
#include "base/StringAdditions.h"
#include "format/EntryPath.h"
#include "model/EntryKind.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <unordered_map>

namespace larkspan {

ModTreeModel::ModTreeModel(std::shared_ptr<const ModIndex> index, QObject* parent)
    : QAbstractItemModel(parent), index_(std::move(index))
{
    build();
}

void ModTreeModel::setIndex(std::shared_ptr<const ModIndex> index)
{
    beginResetModel();
    index_ = std::move(index);
    build();
    endResetModel();
}

std::string ModTreeModel::foldedPathAt(const QModelIndex& index) const
{
    std::string path;
    for (std::size_t node = index.isValid() ? static_cast<std::size_t>(index.internalId()) : 0; node != 0;
         node = nodes_[node].parent)
        path = foldedCopy(nodes_[node].name) + (path.empty() ? "" : "/") + path;
    return path;
}

void ModTreeModel::build()
{
    nodes_.assign(1, Node{});
    const std::vector<ModEntry>& entries = index_->entries();
    nodeOfEntry_.resize(entries.size());
    clashOfEntry_.clear();
    for (std::size_t clash = 0; clash < index_->clashes().size(); ++clash)
        clashOfEntry_[index_->clashes()[clash].entry] = clash;
    // Folder (parent node, NUL, folded name) → node: paths that differ only
    // in case meet in one folder, as the game sees them.
    std::unordered_map<std::string, std::size_t> folders;
    const auto addNode = [&](std::size_t parent, std::string name, std::optional<std::size_t> entry) {
        const std::size_t node = nodes_.size();
        nodes_.push_back({std::move(name), parent, nodes_[parent].children.size(), {}, entry, 0});
        nodes_[parent].children.push_back(node);
        return node;
    };
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::vector<std::string> components = splitEntryPath(index_->path(entries[e]));
        std::size_t at = 0;
        for (std::size_t c = 0; c + 1 < components.size(); ++c) {
            const std::string key = std::to_string(at) + '\0' + foldedCopy(components[c]);
            const auto [found, isNew] = folders.try_emplace(key, 0);
            if (isNew)
                found->second = addNode(at, components[c], std::nullopt);
            at = found->second;
        }
        const std::size_t leaf = addNode(at, components.back(), e);
        nodes_[leaf].size = index_->contentLength(entries[e].source);
        nodeOfEntry_[e] = leaf;
    }
    // Children come after their parents: adding from the end sums each folder whole.
    for (std::size_t n = nodes_.size(); n-- > 1;)
        nodes_[nodes_[n].parent].size += nodes_[n].size;
    arrangeRows();
}

EntrySortFields ModTreeModel::sortFieldsOf(std::size_t node) const
{
    const Node& shown = nodes_[node];
    switch (sortColumn_) {
    case SizeColumn: return {shown.entry.has_value(), {}, shown.size};
    case FromColumn:
        return {shown.entry.has_value(),
                shown.entry ? QString::fromStdString(index_->archive(index_->entries()[*shown.entry].source).shownPath)
                            : QString(),
                0};
    default: return {shown.entry.has_value(), QString::fromStdString(shown.name), 0};
    }
}

void ModTreeModel::arrangeRows()
{
    const EntrySort sort{sortColumn_ < 0 ? EntrySortKey::None
                         : sortColumn_ == SizeColumn ? EntrySortKey::Size
                                                     : EntrySortKey::Name,
                         sortOrder_};
    for (Node& folder : nodes_) {
        // Nodes are numbered as the paths come: the lower, the earlier.
        std::sort(folder.children.begin(), folder.children.end());
        if (sort.key != EntrySortKey::None && folder.children.size() > 1) {
            std::vector<EntrySortFields> fields;
            fields.reserve(folder.children.size());
            for (const std::size_t child : folder.children)
                fields.push_back(sortFieldsOf(child));
            std::vector<std::size_t> sorted;
            sorted.reserve(fields.size());
            for (const std::size_t position : sortedPositions(fields, sort))
                sorted.push_back(folder.children[position]);
            folder.children = std::move(sorted);
        }
        for (std::size_t row = 0; row < folder.children.size(); ++row)
            nodes_[folder.children[row]].row = row;
    }
}

void ModTreeModel::sort(int column, Qt::SortOrder order)
{
    const int wanted = column >= 0 && column < ColumnCount ? column : -1;
    if (wanted == sortColumn_ && (wanted < 0 || order == sortOrder_))
        return;
    // Selections and expanded folders follow their items, not the rows.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = wanted;
    sortOrder_ = order;
    arrangeRows();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const auto node = static_cast<std::size_t>(index.internalId());
        after << createIndex(static_cast<int>(nodes_[node].row), index.column(), static_cast<quintptr>(node));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const ModTreeModel::Node& ModTreeModel::nodeAt(const QModelIndex& index) const
{
    return nodes_[index.isValid() ? static_cast<std::size_t>(index.internalId()) : 0];
}

std::optional<std::size_t> ModTreeModel::entryAt(const QModelIndex& index) const
{
    return index.isValid() ? nodeAt(index).entry : std::nullopt;
}

QModelIndex ModTreeModel::indexOfEntry(std::size_t entry) const
{
    const std::size_t node = nodeOfEntry_.at(entry);
    return createIndex(static_cast<int>(nodes_[node].row), NameColumn, static_cast<quintptr>(node));
}

std::vector<ModTreeModel::EntryBelow> ModTreeModel::entriesBelow(const QModelIndex& index) const
{
    std::vector<EntryBelow> found;
    std::vector<std::string> path;
    collect(index.isValid() ? static_cast<std::size_t>(index.internalId()) : 0, path, found);
    return found;
}

void ModTreeModel::collect(std::size_t node, std::vector<std::string>& path, std::vector<EntryBelow>& out) const
{
    if (node != 0)
        path.push_back(nodes_[node].name);
    if (nodes_[node].entry)
        out.push_back({*nodes_[node].entry, path});
    for (std::size_t child : nodes_[node].children)
        collect(child, path, out);
    if (node != 0)
        path.pop_back();
}

QModelIndex ModTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node& folder = nodeAt(parent);
    if (row < 0 || column < 0 || column >= ColumnCount || static_cast<std::size_t>(row) >= folder.children.size())
        return {};
    return createIndex(row, column, static_cast<quintptr>(folder.children[static_cast<std::size_t>(row)]));
}

QModelIndex ModTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const std::size_t parent = nodeAt(child).parent;
    if (parent == 0)
        return {};
    return createIndex(static_cast<int>(nodes_[parent].row), NameColumn, static_cast<quintptr>(parent));
}

int ModTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != NameColumn)
        return 0;
    return static_cast<int>(nodeAt(parent).children.size());
}

int ModTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QStringList ModTreeModel::overriddenArchives(std::size_t entry) const
{
    QStringList archives;
    for (const EntrySource& source : index_->entries()[entry].overridden)
        archives << QString::fromStdString(index_->archive(source).shownPath);
    return archives;
}

// Usually a mistake: the game's order between archives that are not
// updates of one another is not known, so the path sorting last was taken.
QString ModTreeModel::clashText(std::size_t clash) const
{
    QStringList holders;
    for (const EntrySource& source : index_->clashes()[clash].holders)
        holders << QString::fromStdString(index_->archive(source).shownPath);
    return tr("A clash: these archives are not updates of one another, and which of them the game reads is not "
              "known. The first is shown:") +
           QLatin1Char('\n') + holders.join(QLatin1Char('\n'));
}

QVariant ModTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node& node = nodeAt(index);
    const bool overrides = node.entry && !index_->entries()[*node.entry].overridden.empty();
    const auto clash = node.entry ? clashOfEntry_.find(*node.entry) : clashOfEntry_.end();
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn: return QString::fromStdString(node.name);
        case SizeColumn: return sizeText(node.size);
        case FromColumn:
            return node.entry ? QString::fromStdString(index_->archive(index_->entries()[*node.entry].source).shownPath)
                              : QVariant();
        }
        break;
    case Qt::DecorationRole:
        if (index.column() == NameColumn)
            return node.entry ? icons_.iconForExtension(std::string(extensionOf(node.name))) : icons_.folderIcon();
        if (index.column() == FromColumn && overrides)
            return QApplication::style()->standardIcon(clash == clashOfEntry_.end() ? QStyle::SP_ArrowUp
                                                                                    : QStyle::SP_MessageBoxWarning);
        break;
    case Qt::ToolTipRole:
        if (overrides)
            return tr("Overrides:") + QLatin1Char('\n') + overriddenArchives(*node.entry).join(QLatin1Char('\n')) +
                   (clash == clashOfEntry_.end() ? QString() : QStringLiteral("\n\n") + clashText(clash->second));
        break;
    case OverriddenRole:
        return node.entry ? overriddenArchives(*node.entry) : QStringList();
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    default:
        break;
    }
    return {};
}

QVariant ModTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return tr("Name");
    case SizeColumn: return tr("Size");
    case FromColumn: return tr("From");
    }
    return {};
}

} // namespace larkspan
