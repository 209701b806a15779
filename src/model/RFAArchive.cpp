#include "model/RFAArchive.h"

#include <algorithm>

namespace larkspan {

RFAArchive::RFAArchive() : rootNodes_{RFATreeNode::init()} {}

std::optional<std::uint32_t> RFAArchive::storedSizeOf(const SharedBytes& data) const
{
    const auto found = storedSizes_.find(data.get());
    if (found == storedSizes_.end() || found->second.data.lock() != data)
        return std::nullopt;
    return found->second.size;
}

void RFAArchive::rememberStoredSizes(const std::vector<ArchiveEntry>& entries, const std::vector<std::uint32_t>& sizes)
{
    storedSizes_.clear();
    for (std::size_t i = 0; i < std::min(entries.size(), sizes.size()); ++i)
        storedSizes_.insert_or_assign(entries[i].content.get(), StoredSize{entries[i].content, sizes[i]});
}

RFATreeNode::Ptr RFAArchive::root() const
{
    for (const RFATreeNode::Ptr& node : rootNodes_)
        if (!node->isLeaf())
            return node;
    return nullptr;
}

std::uint64_t RFAArchive::leafCount() const
{
    std::uint64_t count = 0;
    for (const RFATreeNode::Ptr& node : rootNodes_)
        count += node->leafCount();
    return count;
}

} // namespace larkspan
