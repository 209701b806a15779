#include "model/ChangeAnnouncement.h"

#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

namespace larkspan {

ChangeAnnouncement::ChangeAnnouncement(RFATreeNode& node, NodeProperty property, ChangeKind kind,
                                       std::size_t index)
    : hub_(node.changeHub())
{
    if (!hub_)
        return;
    if (hub_->isObserved(property))
        items_.push_back({node.shared_from_this(), property, kind, index});
    switch (property) {
    case NodeProperty::Name:
        add(node, NodeProperty::IsText);
        add(node, NodeProperty::IsImage);
        add(node, NodeProperty::Contents);
        add(node, NodeProperty::Image);
        addSubtree(node, NodeProperty::FullPath);
        break;
    case NodeProperty::Parent:
        addSubtree(node, NodeProperty::FullPath);
        break;
    case NodeProperty::Data:
        add(node, NodeProperty::Contents);
        add(node, NodeProperty::Image);
        addAncestry(node, NodeProperty::FullSize);
        break;
    case NodeProperty::Children:
        addAncestry(node, NodeProperty::FlattenedTree);
        addAncestry(node, NodeProperty::FullSize);
        break;
    default:
        break;
    }
    for (const Item& item : items_)
        hub_->willChange(*item.node, item.property, item.kind, item.index);
}

void ChangeAnnouncement::finish()
{
    for (const Item& item : items_)
        hub_->didChange(*item.node, item.property, item.kind, item.index);
    items_.clear();
}

void ChangeAnnouncement::add(RFATreeNode& node, NodeProperty property)
{
    if (hub_->isObserved(property))
        items_.push_back({node.shared_from_this(), property, ChangeKind::Setting, 0});
}

void ChangeAnnouncement::addSubtree(RFATreeNode& node, NodeProperty property)
{
    if (!hub_->isObserved(property))
        return;
    std::vector<RFATreeNode*> pending{&node};
    while (!pending.empty()) {
        RFATreeNode* next = pending.back();
        pending.pop_back();
        items_.push_back({next->shared_from_this(), property, ChangeKind::Setting, 0});
        for (auto child = next->children_.rbegin(); child != next->children_.rend(); ++child)
            pending.push_back(child->get());
    }
}

void ChangeAnnouncement::addAncestry(RFATreeNode& node, NodeProperty property)
{
    if (!hub_->isObserved(property))
        return;
    // Up through the folders that really hold the node: a removed node keeps
    // its parent link, but its old folder does not change with it.
    std::shared_ptr<RFATreeNode> at = node.shared_from_this();
    while (true) {
        items_.push_back({at, property, ChangeKind::Setting, 0});
        if (!at->indexInParent())
            break;
        at = at->parent();
    }
}

} // namespace larkspan
