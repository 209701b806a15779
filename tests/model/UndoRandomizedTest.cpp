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
TEST(UndoRandomized, InterleavedUndoRedoThenUndoAllRestoresTheStartAndRedoAllTheEnd)
{
    const auto history = std::make_shared<UndoHistory>();
    const auto hub = std::make_shared<ChangeHub>();
    const RFATreeNode::Ptr root = RFATreeNode::init();
    fixtures::RandomTreeEditor editor(root, history, 1944);
    root->setChangeHub(hub);
    for (int i = 0; i < 3000; ++i)
        editor.insertNew();
    root->setUndoManager(history);
    std::size_t reports = 0;
    const ObserverToken token =
        hub->observe({.prior = true, .oldValue = true}, [&](const ChangeReport&) { ++reports; });

    std::mt19937 random(7);
    const std::string start = snapshot(*root, history);
    for (int i = 0; i < 6000; ++i) {
        editor.edit();
        if (random() % 3 == 0)
            history->endGroup();
        if (random() % 5 == 0) {
            const int steps = static_cast<int>(random() % 4);
            for (int s = 0; s < steps; ++s)
                history->undo();
            for (int s = 0; s < static_cast<int>(random() % (steps + 1)); ++s)
                history->redo();
        }
    }
    history->endGroup();
    while (history->canRedo())
        history->redo();
    const std::string end = snapshot(*root, history);
    ASSERT_NE(start, end);
    EXPECT_GT(reports, 0u);
    while (history->canUndo())
        history->undo();
    EXPECT_EQ(snapshot(*root, history), start);
    while (history->canRedo())
        history->redo();
    EXPECT_EQ(snapshot(*root, history), end);
}

} // namespace
} // namespace larkspan
