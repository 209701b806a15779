#include "model/RFATreeNode.h"
#include "model/TextSpliceEntry.h"
#include "model/UndoHistory.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>

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

// Random changes, group ends, undos, redos and saves against a model of the
// history: the states one above the other, where the user stands among
// them, and which of them was saved. A group undoes its changes last to
// first, and the redo group its own the same way.
TEST(UndoHistory, RandomStepsFollowAModelOfStates)
{
    std::mt19937 random(1942);
    for (int round = 0; round < 300; ++round) {
        UndoHistory history;
        UndoableValue value(history);
        std::vector<int> states{0};
        std::size_t at = 0;
        constexpr std::size_t kLost = SIZE_MAX; // the saved state was undone and overwritten
        std::size_t saved = 0;
        bool open = false; // a group of changes not yet ended
        for (int op = 0; op < 40; ++op) {
            switch (random() % 6) {
            case 0:
            case 1: {
                const int v = static_cast<int>(random() % 100);
                if (!open) {
                    // A new step: what could be redone is gone, and so is a save among it.
                    states.resize(at + 1);
                    if (saved != kLost && saved > at)
                        saved = kLost;
                    states.push_back(v);
                    ++at;
                    open = true;
                }
                states[at] = v;
                value.set(v);
                break;
            }
            case 2:
                history.endGroup();
                open = false;
                break;
            case 3:
                history.undo(); // ends the open group first
                at -= at > 0 ? 1 : 0;
                open = false;
                break;
            case 4:
                history.redo();
                at += at + 1 < states.size() ? 1 : 0;
                open = false;
                break;
            case 5:
                history.markClean();
                saved = at;
                open = false;
                break;
            }
            ASSERT_EQ(value, states[at]) << "round " << round << ", step " << op;
            ASSERT_EQ(history.canUndo(), at > 0);
            ASSERT_EQ(history.canRedo(), at + 1 < states.size());
            ASSERT_EQ(history.isModified(), saved != at);
        }
    }
}

TEST(UndoHistory, NamesAndChangeCallback)
{
    UndoHistory history;
    UndoableValue value(history);
    int changes = 0;
    history.setChangeCallback([&] { ++changes; });
    history.setActionName("New Folder");
    value.set(1);
    history.endGroup();
    EXPECT_GT(changes, 0);
    EXPECT_EQ(history.undoActionName(), "New Folder");
    history.setActionName("ignored");
    history.endGroup();
    EXPECT_EQ(history.undoActionName(), "New Folder") << "a named group without actions is dropped";
    const int before = changes;
    history.undo();
    EXPECT_GT(changes, before);
    EXPECT_EQ(history.redoActionName(), "New Folder");
    history.redo();
    history.registerUndo([] {});
    history.endGroup();
    history.undo();
    EXPECT_FALSE(history.canRedo()) << "an undo that registers nothing leaves nothing to redo";
    const int beforeSave = changes;
    history.markClean();
    EXPECT_GT(changes, beforeSave) << "a save changes what the window shows";
}

// Typing into an entry: the splices of one editor make one undo step until
// a save, a break in the typing or another edit ends the run.
TEST(UndoHistory, TypingRunsUndoAsOneStep)
{
    const int editor = 0;
    struct Case {
        const char* what;
        std::function<void(UndoHistory&, RFATreeNode&)> between;
        std::string afterUndo;
    };
    const Case cases[] = {
        {"nothing", [](UndoHistory&, RFATreeNode&) {}, "ab"},
        {"a save", [](UndoHistory& history, RFATreeNode&) { history.markClean(); }, "abx"},
        {"a break in the typing", [](UndoHistory& history, RFATreeNode&) { history.breakCoalescing(); }, "abx"},
        // A rename to a kind that is no text: the typing still undoes and redoes.
        {"another edit", [](UndoHistory&, RFATreeNode& entry) { entry.setName("other.dds"); }, "abx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto history = std::make_shared<UndoHistory>();
        const RFATreeNode::Ptr entry = RFATreeNode::initWithData(fixtures::textBytes("ab"), "init.con");
        entry->setUndoManager(history);
        const auto type = [&](std::size_t at, std::uint8_t typed) {
            EXPECT_TRUE(spliceEntryBytes(entry, {at, {}, {typed}}, &editor));
        };
        type(2, 'x');
        history->endGroup();
        c.between(*history, *entry);
        history->endGroup();
        type(3, 'y');
        type(4, 'z'); // two splices in one event
        history->endGroup();
        history->undo();
        EXPECT_EQ(fixtures::text(entry->data()), c.afterUndo);
        history->redo();
        EXPECT_EQ(fixtures::text(entry->data()), "abxyz");
    }
}

} // namespace
} // namespace larkspan
