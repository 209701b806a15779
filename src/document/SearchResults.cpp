#include "document/SearchResults.h"

namespace larkspan {

void SearchResults::update(const RFATreeNode::Predicate& rule, const std::vector<RFATreeNode::Ptr>& trees)
{
    announce_(DocumentProperty::FoundEntries, true);
    nodes_.clear();
    for (const RFATreeNode::Ptr& top : trees) {
        std::vector<RFATreeNode::Ptr> found = top->nodesMatchingPredicate(rule);
        nodes_.insert(nodes_.end(), found.begin(), found.end());
    }
    announce_(DocumentProperty::FoundEntries, false);
}

} // namespace larkspan
