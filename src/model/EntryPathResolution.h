#pragma once

#include "model/RFATreeNode.h"

#include <string_view>
#include <vector>

namespace larkspan {

// The entry a full path names ("bf1942/objects/tank.con", a folder's with
// its final "/"), below one of the top-level nodes: each component is the
// first child of that name, a folder for every component but the last,
// and the last of the kind the path names. Null when nothing answers, and
// for a top-level node itself, which never leaves its place.
RFATreeNode::Ptr resolveFullPath(const std::vector<RFATreeNode::Ptr>& topLevelNodes, std::string_view fullPath);

} // namespace larkspan
