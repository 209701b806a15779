#include "document/SearchPathComponents.h"

namespace larkspan {

std::vector<PathComponent> searchPathComponents(const std::vector<RFATreeNode::Ptr>& selection)
{
    if (selection.size() != 1)
        return {};
    std::vector<PathComponent> components;
    for (RFATreeNode::Ptr at = selection.front(); at; at = at->parent())
        components.insert(components.begin(), {at->name(), at, false});
    components.back().isFile = selection.front()->isLeaf();
    return components;
}

} // namespace larkspan
