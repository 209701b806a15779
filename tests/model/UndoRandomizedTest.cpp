// Thousands of random edits, undone and redone: the tree must come back
// exactly, down to node identity, and nothing may be left inconsistent.

#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace larkspan {
namespace {

// Identity, name, bytes and order of every node, plus the bookkeeping the
// primitives maintain (parent links, positions, history).
std::string snapshot(const RFATreeNode& node, const std::shared_ptr<UndoHistory>& history)
{
    std::ostringstream out;
    out << &node << ' ' << node.name();
    if (node.isLeaf())
        out << " [" << std::string(node.data()->begin(), node.data()->end()) << ']';
    EXPECT_EQ(node.undoManager(), history) << node.fullPath();
    out << " {";
    for (std::size_t i = 0; i < node.countOfChildren(); ++i) {
        const RFATreeNode& child = *node.objectInChildrenAtIndex(i);
        EXPECT_EQ(child.parent().get(), &node) << child.fullPath();
        EXPECT_EQ(child.indexInParent(), i) << child.fullPath();
        out << snapshot(child, history) << ',';
    }
    out << '}';
    return out.str();
}

class RandomEditor {
public:
    explicit RandomEditor(std::uint32_t seed) : random_(seed)
    {
        root_->setChangeHub(hub_);
        for (int i = 0; i < 3000; ++i)
            insertNew();
        root_->setUndoManager(history_);
        // A live observer, so every announcement path runs too.
        token_ = hub_->observe({.prior = true, .oldValue = true}, [this](const ChangeReport&) { ++reports_; });
    }

    void edit()
    {
        switch (random_() % 6) {
        case 0: insertNew(); break;
        case 1: remove(); break;
        case 2: rename(); break;
        case 3: setData(); break;
        case 4: move(); break;
        case 5: copyIn(); break;
        }
    }

    std::shared_ptr<UndoHistory> history_ = std::make_shared<UndoHistory>();
    RFATreeNode::Ptr root_ = RFATreeNode::init();
    std::size_t reports_ = 0;

private:
    RFATreeNode::Ptr anyNode()
    {
        RFATreeNode::Ptr node = root_;
        while (node->countOfChildren() > 0 && random_() % 4 != 0)
            node = node->objectInChildrenAtIndex(random_() % node->countOfChildren());
        return node;
    }
    RFATreeNode::Ptr anyFolder()
    {
        RFATreeNode::Ptr node = anyNode();
        return node->isLeaf() ? node->parent() : node;
    }
    std::string anyName() { return "n" + std::to_string(random_() % 50) + (random_() % 2 ? ".con" : ""); }

    void insertNew()
    {
        const RFATreeNode::Ptr folder = anyFolder();
        const RFATreeNode::Ptr node =
            random_() % 3 == 0 ? RFATreeNode::initAsDirectory(anyName(), folder)
                               : RFATreeNode::initWithData(makeSharedBytes(Bytes(random_() % 8, 'x')), anyName(), folder);
        folder->insertObject(node, random_() % (folder->countOfChildren() + 1));
    }
    void remove()
    {
        const RFATreeNode::Ptr node = anyNode();
        if (const RFATreeNode::Ptr folder = node->parent(); folder && node->indexInParent())
            folder->removeChild(*node);
    }
    void rename() { anyNode()->setName(anyName()); }
    void setData()
    {
        // Data changes register no undo of their own; the text editor
        // registers the inverse, as this does.
        const RFATreeNode::Ptr node = anyNode();
        if (!node->isLeaf())
            return;
        replaceData(node, makeSharedBytes(Bytes(random_() % 8, static_cast<std::uint8_t>('a' + random_() % 26))));
    }
    void replaceData(const RFATreeNode::Ptr& node, SharedBytes data)
    {
        SharedBytes old = node->data();
        node->setData(std::move(data));
        history_->registerUndo([this, node, old] { replaceData(node, old); });
    }
    void move()
    {
        const RFATreeNode::Ptr node = anyNode();
        const RFATreeNode::Ptr from = node->parent();
        const RFATreeNode::Ptr to = anyFolder();
        if (!from || !node->indexInParent() || to == node || to->isDescendantOf(*node))
            return;
        from->removeChild(*node);
        to->insertObject(node, random_() % (to->countOfChildren() + 1));
    }
    void copyIn()
    {
        const RFATreeNode::Ptr source = anyNode();
        if (source == root_)
            return;
        const RFATreeNode::Ptr to = anyFolder();
        to->appendChild(source->copy());
    }

    std::mt19937 random_;
    std::shared_ptr<ChangeHub> hub_ = std::make_shared<ChangeHub>();
    ObserverToken token_;
};

TEST(UndoRandomized, UndoAllRestoresTheStartAndRedoAllTheEnd)
{
    RandomEditor editor(1942);
    const std::string start = snapshot(*editor.root_, editor.history_);
    int groups = 0;
    for (int i = 0; i < 10000; ++i) {
        editor.edit();
        if (i % 3 == 2) {
            editor.history_->endGroup();
            ++groups;
        }
    }
    editor.history_->endGroup();
    const std::string end = snapshot(*editor.root_, editor.history_);
    ASSERT_NE(start, end);
    EXPECT_GT(editor.reports_, 0u);

    while (editor.history_->canUndo())
        editor.history_->undo();
    EXPECT_EQ(snapshot(*editor.root_, editor.history_), start);
    while (editor.history_->canRedo())
        editor.history_->redo();
    EXPECT_EQ(snapshot(*editor.root_, editor.history_), end);
}

TEST(UndoRandomized, InterleavedUndoAndRedoStayConsistent)
{
    RandomEditor editor(1944);
    std::mt19937 random(7);
    const std::string start = snapshot(*editor.root_, editor.history_);
    for (int i = 0; i < 3000; ++i) {
        editor.edit();
        if (random() % 3 == 0)
            editor.history_->endGroup();
        if (random() % 5 == 0) {
            const int steps = static_cast<int>(random() % 4);
            for (int s = 0; s < steps; ++s)
                editor.history_->undo();
            for (int s = 0; s < static_cast<int>(random() % (steps + 1)); ++s)
                editor.history_->redo();
        }
    }
    editor.history_->endGroup();
    while (editor.history_->canUndo())
        editor.history_->undo();
    EXPECT_EQ(snapshot(*editor.root_, editor.history_), start);
}

} // namespace
} // namespace larkspan
