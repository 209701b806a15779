#pragma once

#include "document/DocumentProperty.h"
#include "model/RFATreeNode.h"

#include <vector>

namespace larkspan {

// Entries picked out of the document's trees for the window: the selection
// it reports (tree order in the tree views, list order in the results) or
// the entries the search found. Observers learn of every new set as the
// list's property.
class EntryList {
public:
    EntryList(Announce announce, DocumentProperty property)
        : announce_(std::move(announce)), property_(property)
    {
    }

    const std::vector<RFATreeNode::Ptr>& nodes() const { return nodes_; }
    void set(std::vector<RFATreeNode::Ptr> nodes)
    {
        announce_(property_, true);
        nodes_ = std::move(nodes);
        announce_(property_, false);
    }
    // Forgets the entries of a tree that is being replaced, unannounced:
    // the replacement is announced.
    void clear() { nodes_.clear(); }

private:
    Announce announce_;
    DocumentProperty property_;
    std::vector<RFATreeNode::Ptr> nodes_;
};

} // namespace larkspan
