#pragma once

#include "model/NodeProperty.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace larkspan {

class ChangeHub;
class RFATreeNode;

// Announces a change of one property of one node, together with every
// property derived from it (transitively), to the node's hub: will-change
// when made, did-change on finish(). Both times the base property comes
// first, then what derives from it:
//   name     → isText, isImage, contents, image; fullPath of the node and all below
//   parent   → fullPath of the node and all below
//   data     → contents, image; fullSize of the node and all above
//   children → flattenedTree and fullSize of the node and all above
// Derived properties nobody observes are not announced (nor walked for).
class ChangeAnnouncement {
public:
    ChangeAnnouncement(RFATreeNode& node, NodeProperty property, ChangeKind kind = ChangeKind::Setting,
                       std::size_t index = 0);
    ChangeAnnouncement(const ChangeAnnouncement&) = delete;
    ChangeAnnouncement& operator=(const ChangeAnnouncement&) = delete;
    void finish();

private:
    struct Item {
        std::shared_ptr<RFATreeNode> node;
        NodeProperty property;
        ChangeKind kind;
        std::size_t index;
    };
    void add(RFATreeNode& node, NodeProperty property);
    void addSubtree(RFATreeNode& node, NodeProperty property);
    void addAncestry(RFATreeNode& node, NodeProperty property);

    std::shared_ptr<ChangeHub> hub_;
    std::vector<Item> items_;
};

} // namespace larkspan
