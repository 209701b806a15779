#include "app/views/SortedRows.h"

#include "model/RFATreeNode.h"

#include <algorithm>
#include <iterator>

namespace larkspan {

void SortedRows::numberRows(Order& order)
{
    order.rowOfChild.assign(order.childAtRow.size(), 0);
    for (std::size_t row = 0; row < order.childAtRow.size(); ++row)
        order.rowOfChild[order.childAtRow[row]] = static_cast<int>(row);
}

const SortedRows::Order& SortedRows::orderOf(const RFATreeNode* folder, std::size_t count, const EntryAt& entryAt,
                                             const EntrySort& sort, const EntrySize& sizeOf)
{
    if (const auto found = orders_.find(folder); found != orders_.end()) {
        const bool alive = !folder || !found->second.folder.expired();
        if (alive && found->second.order.childAtRow.size() == count)
            return found->second.order;
    }
    Remembered remembered{folder ? folder->weak_from_this() : std::weak_ptr<const RFATreeNode>(),
                          {sortedPositions(count, entryAt, sort, sizeOf), {}}};
    numberRows(remembered.order);
    return orders_.insert_or_assign(folder, std::move(remembered)).first->second.order;
}

void SortedRows::childInserted(const RFATreeNode* folder, std::size_t child)
{
    const auto found = orders_.find(folder);
    if (found == orders_.end())
        return;
    Order& order = found->second.order;
    for (std::size_t& at : order.childAtRow)
        if (at >= child)
            ++at;
    order.childAtRow.push_back(child);
    numberRows(order);
}

void SortedRows::childRemoved(const RFATreeNode* folder, std::size_t child)
{
    const auto found = orders_.find(folder);
    if (found == orders_.end())
        return;
    Order& order = found->second.order;
    if (child >= order.rowOfChild.size()) {
        orders_.erase(found);
        return;
    }
    order.childAtRow.erase(std::next(order.childAtRow.begin(), order.rowOfChild[child]));
    for (std::size_t& at : order.childAtRow)
        if (at > child)
            --at;
    numberRows(order);
}

void SortedRows::forgetSubtree(const RFATreeNode& top)
{
    std::erase_if(orders_, [&top](const auto& entry) {
        const std::shared_ptr<const RFATreeNode> folder = entry.second.folder.lock();
        return entry.first && (!folder || folder.get() == &top || folder->isDescendantOf(top));
    });
}

} // namespace larkspan
