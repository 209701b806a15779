#include "document/MoveRule.h"

#include <algorithm>

namespace larkspan {

bool wouldEnterItself(const std::vector<RFATreeNode::Ptr>& entries, const RFATreeNode& destination)
{
    return std::any_of(entries.begin(), entries.end(), [&](const RFATreeNode::Ptr& entry) {
        return entry.get() == &destination || destination.isDescendantOf(*entry);
    });
}

} // namespace larkspan
