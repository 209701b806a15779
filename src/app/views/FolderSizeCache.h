#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace larkspan {

class RFATreeNode;

// The sums of file sizes below folders, kept between paints: summing a
// folder of the whole archive walks every node, and the outline asks on
// every repaint. Whoever follows the tree's changes says what to forget: a
// folder's sum is announced as changed (fullSize) for every folder above a
// change.
class FolderSizeCache {
public:
    // A file's own size; a folder's remembered or newly summed one.
    std::uint64_t sizeOf(const RFATreeNode& node);
    void forget(const RFATreeNode& folder) { sums_.erase(&folder); }
    // The folder and every folder that holds it.
    void forgetWithAncestors(const RFATreeNode& folder);
    // For a subtree coming in from where its changes were not followed.
    void forgetSubtree(const RFATreeNode& top);
    void clear() { sums_.clear(); }

private:
    struct Sum {
        // Tells a remembered folder from a new one at the same address.
        std::weak_ptr<const RFATreeNode> folder;
        std::uint64_t bytes;
    };
    std::unordered_map<const RFATreeNode*, Sum> sums_;
};

} // namespace larkspan
