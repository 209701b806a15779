#pragma once

#include "app/views/EntryIcons.h"
#include "app/views/EntrySort.h"
#include "mod/ModIndex.h"

#include <QAbstractItemModel>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace larkspan {

// The tree of what the game sees of a mod, for an outline: folders made from
// the entries' paths, each entry's size, the archive it comes from, and a
// mark on the entries that override others. Built from the archives'
// directories alone; no entry is read. Rows are in the order of the paths,
// or sorted by a column within each folder.
class ModTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, FromColumn, ColumnCount };
    // The archives an entry overrides, strongest first (QStringList).
    static constexpr int OverriddenRole = Qt::UserRole + 1;

    ModTreeModel(std::shared_ptr<const ModIndex> index, QObject* parent = nullptr);

    const ModIndex& modIndex() const { return *index_; }
    // Shows another index of the mod (read again): a reset, so views keep
    // nothing of what they showed; see foldedPathAt.
    void setIndex(std::shared_ptr<const ModIndex> index);
    // The path of a shown item from the top, folded as paths compare: what
    // stays of an item when the mod is read again.
    std::string foldedPathAt(const QModelIndex& index) const;
    // The entry shown at `index` (in ModIndex::entries()); nothing for a folder.
    std::optional<std::size_t> entryAt(const QModelIndex& index) const;
    // Where an entry is shown.
    QModelIndex indexOfEntry(std::size_t entry) const;

    // An entry at or below a shown item, with its path from that item (the
    // item's own name first): what extracting the item writes.
    struct EntryBelow {
        std::size_t entry;
        std::vector<std::string> components;
    };
    std::vector<EntryBelow> entriesBelow(const QModelIndex& index) const;

    // Name, Size or From, or -1 for the paths' own order. Kept when the mod
    // is read again.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Node {
        std::string name; // UTF-8, as the winning archive spells it
        std::size_t parent = 0;
        std::size_t row = 0;
        std::vector<std::size_t> children;
        std::optional<std::size_t> entry; // nothing for a folder
        std::uint64_t size = 0;           // a folder's: all below it
    };

    void build();
    // Orders each folder's children as sort_ says and numbers their rows.
    void arrangeRows();
    EntrySortFields sortFieldsOf(std::size_t node) const;
    const Node& nodeAt(const QModelIndex& index) const;
    void collect(std::size_t node, std::vector<std::string>& path, std::vector<EntryBelow>& out) const;
    QStringList overriddenArchives(std::size_t entry) const;
    QString clashText(std::size_t clash) const;

    std::shared_ptr<const ModIndex> index_;
    std::vector<Node> nodes_; // nodes_[0] is the invisible top
    std::vector<std::size_t> nodeOfEntry_;
    std::unordered_map<std::size_t, std::size_t> clashOfEntry_; // entry → its place in the index's clashes
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    mutable EntryIcons icons_;
};

} // namespace larkspan
