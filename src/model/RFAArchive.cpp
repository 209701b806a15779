#include "model/RFAArchive.h"

#include "format/StoredContent.h"

namespace larkspan {

RFAArchive::RFAArchive() : rootNodes_{RFATreeNode::init()} {}

std::optional<std::uint32_t> RFAArchive::storedSizeOf(const RFATreeNode& entry) const
{
    // An entry pasted from another archive keeps bytes stored in that one.
    const std::shared_ptr<const StoredContent> stored = entry.storedContent();
    if (!stored || !file_ || &stored->file() != file_.get())
        return std::nullopt;
    return stored->storedSize();
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
