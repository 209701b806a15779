#include "model/UndoHistory.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// A number whose changes register their inverse, as the tree's setters do.
struct UndoableValue {
    explicit UndoableValue(UndoHistory& history) : history(history) {}
    void set(int v)
    {
        const int old = value;
        value = v;
        history.registerUndo([this, old] { set(old); });
    }
    operator int() const { return value; }

    UndoHistory& history;
    int value = 0;
};

TEST(UndoHistory, GroupsRunBackwardsAndTheirRegistrationsFormTheOppositeGroup)
{
    UndoHistory history;
    std::vector<std::string> log;
    // Each action logs itself and registers its own inverse, as the tree's
    // primitives do.
    std::function<void(std::string, std::string)> step = [&](std::string doing, std::string undoing) {
        log.push_back(doing);
        history.registerUndo([&, doing, undoing] { step(undoing, doing); });
    };
    step("a", "-a");
    step("b", "-b");
    history.setActionName("Edit");
    history.endGroup();
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoActionName(), "Edit");

    log.clear();
    history.undo();
    EXPECT_EQ(log, (std::vector<std::string>{"-b", "-a"}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(history.canRedo());
    EXPECT_EQ(history.redoActionName(), "Edit");

    log.clear();
    history.redo();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

TEST(UndoHistory, NewEditOutsideUndoClearsRedo)
{
    UndoHistory history;
    UndoableValue value(history);
    value.set(1);
    history.endGroup();
    value.set(2);
    history.endGroup();
    history.undo();
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(history.canRedo());
    value.set(3);
    EXPECT_FALSE(history.canRedo());
    history.endGroup();
    history.undo();
    EXPECT_EQ(value, 1);
    history.undo();
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(history.canUndo());
}

TEST(UndoHistory, UndoClosesTheOpenGroupFirst)
{
    UndoHistory history;
    UndoableValue value(history);
    value.set(5);
    value.set(6); // same event, no endGroup
    EXPECT_TRUE(history.canUndo());
    history.undo();
    EXPECT_EQ(value, 0) << "both registrations belong to one group";
}

TEST(UndoHistory, CleanMarkFollowsUndoAndRedo)
{
    UndoHistory history;
    UndoableValue value(history);
    EXPECT_FALSE(history.isModified());
    value.set(1);
    EXPECT_TRUE(history.isModified()) << "an open group counts";
    history.endGroup();
    history.markClean();
    EXPECT_FALSE(history.isModified());
    value.set(2);
    history.endGroup();
    EXPECT_TRUE(history.isModified());
    history.undo();
    EXPECT_FALSE(history.isModified()) << "back at the saved state";
    history.undo();
    EXPECT_TRUE(history.isModified());
    history.redo();
    EXPECT_FALSE(history.isModified());

    // Undo past the saved state, then edit: the saved state is gone for good.
    history.undo();
    value.set(7);
    history.endGroup();
    EXPECT_TRUE(history.isModified());
    history.undo();
    EXPECT_TRUE(history.isModified());
}

TEST(UndoHistory, NamesAndChangeCallback)
{
    UndoHistory history;
    int changes = 0;
    history.setChangeCallback([&] { ++changes; });
    history.setActionName("New Folder");
    history.registerUndo([] {});
    history.endGroup();
    EXPECT_GT(changes, 0);
    EXPECT_EQ(history.undoActionName(), "New Folder");
    history.setActionName("ignored");
    history.endGroup();
    EXPECT_EQ(history.undoActionName(), "New Folder") << "a named group without actions is dropped";
    const int before = changes;
    history.undo();
    EXPECT_GT(changes, before);
    EXPECT_FALSE(history.canRedo()) << "an undo that registers nothing leaves nothing to redo";
    history.removeAllActions();
    EXPECT_FALSE(history.canUndo());
}

TEST(UndoHistory, ActionsKeepWhatTheyCaptureAlive)
{
    UndoHistory history;
    auto kept = std::make_shared<int>(42);
    std::weak_ptr<int> watch = kept;
    history.registerUndo([kept] { (void)*kept; });
    kept.reset();
    EXPECT_FALSE(watch.expired());
    history.removeAllActions();
    EXPECT_TRUE(watch.expired());
}

} // namespace
} // namespace larkspan

namespace larkspan {
namespace {

TEST(UndoHistory, TypingCoalescesUntilSomethingElseHappens)
{
    UndoHistory history;
    std::string text;
    const int editor = 0;
    std::function<void(std::string)> type = [&](std::string typed) {
        text += typed;
        history.registerCoalescingUndo(&editor, [&, n = typed.size()] { text.resize(text.size() - n); });
    };
    type("a");
    history.endGroup();
    type("b");
    history.endGroup();
    type("c");
    type("d"); // two splices in one event
    history.endGroup();
    history.undo();
    EXPECT_EQ(text, "") << "one step for the whole run";

    type("x");
    history.endGroup();
    history.markClean();
    type("y");
    history.endGroup();
    history.undo();
    EXPECT_EQ(text, "x") << "typing after a save starts a new step";

    type("1");
    history.endGroup();
    history.breakCoalescing();
    type("2");
    history.endGroup();
    history.undo();
    EXPECT_EQ(text, "x1");

    history.registerUndo([] {});
    history.endGroup();
    type("3");
    history.endGroup();
    history.undo();
    EXPECT_EQ(text, "x1");
    history.undo();
    EXPECT_EQ(text, "x1") << "another edit in between ends the run: its own step comes next";
}

} // namespace
} // namespace larkspan
