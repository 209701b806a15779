#pragma once

#include "model/RFATreeNode.h"

#include <string>
#include <vector>

namespace larkspan {

// One component of the path shown for the single selected search result.
struct PathComponent {
    std::string title;
    RFATreeNode::Ptr node;
    bool isFile = false; // shown with the file-type icon of its extension
};

// The path of the one selected result, from its top-level folder down;
// empty unless exactly one is selected.
std::vector<PathComponent> searchPathComponents(const std::vector<RFATreeNode::Ptr>& selection);

} // namespace larkspan
