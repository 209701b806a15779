#include "model/RFATreeEnumerator.h"

#include "model/RFATreeNode.h"

namespace larkspan {

RFATreeEnumerator::RFATreeEnumerator(std::shared_ptr<RFATreeNode> node)
{
    stack_.push_back({std::move(node), 0});
}

std::shared_ptr<RFATreeNode> RFATreeEnumerator::nextObject()
{
    while (!stack_.empty()) {
        Level& level = stack_.back();
        if (level.nextChild >= level.folder->countOfChildren()) {
            stack_.pop_back();
            continue;
        }
        std::shared_ptr<RFATreeNode> child = level.folder->objectInChildrenAtIndex(level.nextChild++);
        if (child->isLeaf())
            return child;
        stack_.push_back({std::move(child), 0});
    }
    return nullptr;
}

} // namespace larkspan
