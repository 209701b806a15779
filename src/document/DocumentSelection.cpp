#include "document/DocumentSelection.h"

namespace larkspan {

void DocumentSelection::set(std::vector<RFATreeNode::Ptr> nodes)
{
    announce_(DocumentProperty::Availability, true);
    nodes_ = std::move(nodes);
    announce_(DocumentProperty::Availability, false);
}

} // namespace larkspan
