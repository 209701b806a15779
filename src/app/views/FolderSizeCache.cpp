#include "app/views/FolderSizeCache.h"

#include "model/RFATreeNode.h"

#include <vector>

namespace larkspan {

std::uint64_t FolderSizeCache::sizeOf(const RFATreeNode& node)
{
    if (node.isLeaf())
        return node.size();
    if (const auto found = sums_.find(&node); found != sums_.end() && !found->second.folder.expired())
        return found->second.bytes;
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < node.countOfChildren(); ++i)
        bytes += sizeOf(*node.objectInChildrenAtIndex(i));
    sums_.insert_or_assign(&node, Sum{node.weak_from_this(), bytes});
    return bytes;
}

void FolderSizeCache::forgetWithAncestors(const RFATreeNode& folder)
{
    std::shared_ptr<const RFATreeNode> at = folder.shared_from_this();
    while (true) {
        sums_.erase(at.get());
        if (!at->indexInParent())
            return;
        at = at->parent();
    }
}

void FolderSizeCache::forgetSubtree(const RFATreeNode& top)
{
    if (sums_.empty())
        return;
    std::vector<const RFATreeNode*> pending{&top};
    while (!pending.empty()) {
        const RFATreeNode* node = pending.back();
        pending.pop_back();
        if (node->isLeaf())
            continue;
        sums_.erase(node);
        for (std::size_t i = 0; i < node->countOfChildren(); ++i)
            pending.push_back(node->objectInChildrenAtIndex(i).get());
    }
}

} // namespace larkspan
