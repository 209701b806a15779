#pragma once

#include "document/DocumentProperty.h"
#include "model/RFATreeNode.h"

#include <vector>

namespace larkspan {

// The entries the search found, in tree order, top-level trees one after
// another. They stay while the results are hidden.
class SearchResults {
public:
    explicit SearchResults(Announce announce) : announce_(std::move(announce)) {}

    const std::vector<RFATreeNode::Ptr>& nodes() const { return nodes_; }
    // The entries of `trees` that match `rule`, announced as a new set.
    void update(const RFATreeNode::Predicate& rule, const std::vector<RFATreeNode::Ptr>& trees);
    // Forgets the entries of a tree that is being replaced, unannounced:
    // the replacement is announced.
    void clear() { nodes_.clear(); }

private:
    Announce announce_;
    std::vector<RFATreeNode::Ptr> nodes_;
};

} // namespace larkspan
