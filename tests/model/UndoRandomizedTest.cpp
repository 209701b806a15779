// Thousands of random edits, undone and redone: the tree must come back
// exactly, down to node identity, and nothing may be left inconsistent.

#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"
#include "support/RandomTreeEditor.h"

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

// A tree of 3000 random nodes, joined to a history and a hub with a live
// observer (so that every announcement path runs too), edited at random.
struct RandomEditor {
    std::shared_ptr<UndoHistory> history_ = std::make_shared<UndoHistory>();
    std::shared_ptr<ChangeHub> hub_ = std::make_shared<ChangeHub>();
    RFATreeNode::Ptr root_ = RFATreeNode::init();
    fixtures::RandomTreeEditor editor_;
    std::size_t reports_ = 0;
    ObserverToken token_;

    explicit RandomEditor(std::uint32_t seed) : editor_(root_, history_, seed)
    {
        root_->setChangeHub(hub_);
        for (int i = 0; i < 3000; ++i)
            editor_.insertNew();
        root_->setUndoManager(history_);
        token_ = hub_->observe({.prior = true, .oldValue = true}, [this](const ChangeReport&) { ++reports_; });
    }
    void edit() { editor_.edit(); }
};

TEST(UndoRandomized, InterleavedUndoRedoThenUndoAllRestoresTheStartAndRedoAllTheEnd)
{
    RandomEditor editor(1944);
    std::mt19937 random(7);
    const std::string start = snapshot(*editor.root_, editor.history_);
    for (int i = 0; i < 6000; ++i) {
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
    while (editor.history_->canRedo())
        editor.history_->redo();
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

} // namespace
} // namespace larkspan
