#pragma once

#include "document/DocumentProperty.h"
#include "model/RFATreeNode.h"

#include <vector>

namespace larkspan {

// The selection as the window reports it: tree order in the tree views,
// list order in the results. The commands act on it; what they can do
// changes with it.
class DocumentSelection {
public:
    explicit DocumentSelection(Announce announce) : announce_(std::move(announce)) {}

    const std::vector<RFATreeNode::Ptr>& nodes() const { return nodes_; }
    void set(std::vector<RFATreeNode::Ptr> nodes);
    // Forgets the entries of a tree that is being replaced, unannounced:
    // the replacement is announced.
    void clear() { nodes_.clear(); }

private:
    Announce announce_;
    std::vector<RFATreeNode::Ptr> nodes_;
};

} // namespace larkspan
