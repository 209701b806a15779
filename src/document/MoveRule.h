#pragma once

#include "model/RFATreeNode.h"

#include <vector>

namespace larkspan {

// An entry cannot go into itself or below itself. Decided by identity,
// never by comparing paths as text: bf1942/a is not above bf1942/ab/.
bool wouldEnterItself(const std::vector<RFATreeNode::Ptr>& entries, const RFATreeNode& destination);

} // namespace larkspan
