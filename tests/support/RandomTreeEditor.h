#pragma once

// Random edits of a tree through its primitives, as the document and undo
// make them: insertions, removals, renames, new data, moves and copies.

#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <random>
#include <string>

namespace larkspan::fixtures {

class RandomTreeEditor {
public:
    RandomTreeEditor(RFATreeNode::Ptr root, std::shared_ptr<UndoHistory> history, std::uint32_t seed)
        : root_(std::move(root)), history_(std::move(history)), random_(seed)
    {
    }

    // Any node, the root included; deeper ones less often.
    RFATreeNode::Ptr anyNode()
    {
        RFATreeNode::Ptr node = root_;
        while (node->countOfChildren() > 0 && random_() % 4 != 0)
            node = node->objectInChildrenAtIndex(random_() % node->countOfChildren());
        return node;
    }

    void insertNew()
    {
        const RFATreeNode::Ptr folder = anyFolder();
        const RFATreeNode::Ptr node =
            random_() % 3 == 0 ? RFATreeNode::initAsDirectory(anyName(), folder)
                               : RFATreeNode::initWithData(makeSharedBytes(Bytes(random_() % 8, 'x')), anyName(), folder);
        folder->insertObject(node, random_() % (folder->countOfChildren() + 1));
    }

    void edit()
    {
        const RFATreeNode::Ptr node = anyNode();
        const RFATreeNode::Ptr parent = node->parent();
        switch (random_() % 6) {
        case 0:
            return insertNew();
        case 1:
            if (parent && node->indexInParent())
                parent->removeChild(*node);
            return;
        case 2:
            return node->setName(anyName());
        case 3:
            if (node->isLeaf())
                replaceData(node, makeSharedBytes(Bytes(random_() % 8, std::uint8_t('a' + random_() % 26))));
            return;
        case 4: {
            const RFATreeNode::Ptr to = anyFolder();
            if (parent && node->indexInParent() && to != node && !to->isDescendantOf(*node)) {
                parent->removeChild(*node);
                to->insertObject(node, random_() % (to->countOfChildren() + 1));
            }
            return;
        }
        case 5:
            if (node != root_)
                anyFolder()->appendChild(node->copy());
            return;
        }
    }

private:
    RFATreeNode::Ptr anyFolder()
    {
        const RFATreeNode::Ptr node = anyNode();
        return node->isLeaf() ? node->parent() : node;
    }
    // Names of several kinds, so that renames change what an entry is.
    std::string anyName()
    {
        static const char* const kExtensions[] = {"", ".con", ".dds"};
        return "n" + std::to_string(random_() % 50) + kExtensions[random_() % 3];
    }
    // Data changes register no undo of their own; the text editor registers
    // the inverse, as this does.
    void replaceData(const RFATreeNode::Ptr& node, SharedBytes data)
    {
        SharedBytes old = node->data();
        node->setData(std::move(data));
        history_->registerUndo([this, node, old] { replaceData(node, old); });
    }

    RFATreeNode::Ptr root_;
    std::shared_ptr<UndoHistory> history_;
    std::mt19937 random_;
};

} // namespace larkspan::fixtures
