#pragma once

#include <QString>
#include <QtCore/qnamespace.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace larkspan {

class RFATreeNode;

// What a list of entries is sorted by when the user clicks a column
// header. Sorting is a view: the archive keeps its order, and the third
// click on a header shows that order again.
enum class EntrySortKey { None, Name, Path, Size };

struct EntrySort {
    EntrySortKey key = EntrySortKey::None;
    Qt::SortOrder order = Qt::AscendingOrder;
};

// What one listed row is sorted by: folders go before files, then the text
// (compared as people read it) or, for a sort by size, the size.
struct EntrySortFields {
    bool isFile = true;
    QString text;
    std::uint64_t size = 0;
};

// The positions of `fields` in the order a view shows them: folders before
// files in either direction, as file managers list them; texts compared as
// people read them (case aside, numbers by value); equal keys keep their
// order. Any key but Size and None sorts by the text; None keeps the order.
std::vector<std::size_t> sortedPositions(const std::vector<EntrySortFields>& fields, const EntrySort& sort);

using EntryAt = std::function<const RFATreeNode&(std::size_t position)>;
using EntrySize = std::function<std::uint64_t(const RFATreeNode&)>;

// The positions 0..count-1 of an archive's entries in the order a view
// shows them, as above; equal keys keep the archive's order.
std::vector<std::size_t> sortedPositions(std::size_t count, const EntryAt& entryAt, const EntrySort& sort,
                                         const EntrySize& sizeOf);

} // namespace larkspan
