#include "model/RFAArchive.h"

namespace larkspan {

RFAArchive::RFAArchive() : rootNodes_{RFATreeNode::init()} {}

std::optional<std::uint32_t> RFAArchive::storedSizeOf(const SharedBytes& data) const
{
    const auto found = storedSizes_.find(data.get());
    if (found == storedSizes_.end() || found->second.data.lock() != data)
        return std::nullopt;
    return found->second.size;
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
