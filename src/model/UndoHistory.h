#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace larkspan {

// The document's undo history. Edits register their inverse actions; all
// actions registered during one user event form one group, which undo runs
// backwards. Whatever the actions register while undoing becomes the redo
// group, and the other way round. Actions keep alive what they capture.
//
// A group opens with its first registration and is closed by whoever drives
// the events (the UI after each event, tests explicitly) with endGroup().
// An action that throws ends the run: what ran can be reversed from the
// other side, the rest stays to be tried again, and the exception passes on.
//
// A step that changes two documents at once (entries moved between windows)
// is one step of both histories: see join().
class UndoHistory : public std::enable_shared_from_this<UndoHistory> {
public:
    using Action = std::function<void()>;

    // While it lives, what the guest history registers goes into this
    // history's open group instead.
    class JoinedGroup {
    public:
        explicit JoinedGroup(UndoHistory* guest = nullptr) : guest_(guest) {}
        JoinedGroup(JoinedGroup&& other) noexcept : guest_(std::exchange(other.guest_, nullptr)) {}
        JoinedGroup(const JoinedGroup&) = delete;
        JoinedGroup& operator=(const JoinedGroup&) = delete;
        JoinedGroup& operator=(JoinedGroup&&) = delete;
        ~JoinedGroup();

    private:
        UndoHistory* guest_;
    };

    // Makes the open group (opened if need be) one step with a group of
    // `guest`, which stands for it there: the actions are kept here, and
    // undoing or redoing the step in either history runs them once and moves
    // both groups. A history whose partner has a later step on top cannot
    // undo (or redo) the joined step until the partner has undone that one.
    // When the partner is gone, or has forgotten its side, the step is this
    // history's alone: its undo goes ahead (the guest's side then does
    // nothing) and a redo the partner could no longer follow is dropped.
    [[nodiscard]] JoinedGroup join(const std::shared_ptr<UndoHistory>& guest);

    void registerUndo(Action action);
    // Typing: a registration with the same key as the group on top of the
    // undo stack, with nothing registered in between and that group not the
    // saved state, joins that group instead of starting a new one, so a run
    // of keystrokes undoes as one step. The key is any address the caller
    // owns (the editor).
    void registerCoalescingUndo(const void* key, Action action);
    // The next coalescing registration starts a group of its own.
    void breakCoalescing();
    // Names the group being recorded ("Delete", "New Folder", "Typing").
    void setActionName(std::string name);
    void endGroup();

    // A group has been opened by a registration (or a join) and not yet closed.
    bool hasOpenGroup() const { return open_ && holdsStep(*open_); }
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    bool isUndoing() const { return running_ == Running::Undo; }
    bool isRedoing() const { return running_ == Running::Redo; }

    // Name of the group that undo (redo) would run; empty when unnamed.
    std::string undoActionName() const;
    std::string redoActionName() const;

    // Marks the current state as the saved one.
    void markClean();
    bool isModified() const;

    void removeAllActions();

    // Called after every change of what the history holds or can do.
    void setChangeCallback(std::function<void()> callback) { changed_ = std::move(callback); }

private:
    struct Group {
        std::string name;
        std::vector<Action> actions;
        // The state the document is in once this group has been undone away;
        // equal ids mean equal states, so the clean mark survives undo/redo.
        std::uint64_t state = 0;
        const void* coalescingKey = nullptr;
        // A joined step: the same link in both histories' groups.
        std::shared_ptr<const int> link;
        std::weak_ptr<UndoHistory> partner;
        bool standsForPartner = false; // its actions are kept in the partner's group
    };
    enum class Running { Nothing, Undo, Redo };
    // How a joined group can be run: with its partner's, not now, alone,
    // or (a redo) never again.
    enum class Reach { Together, Blocked, Alone, Lost };

    static bool holdsStep(const Group& group) { return !group.actions.empty() || group.link; }
    void openGroup();
    void startNewStep();
    std::uint64_t currentState() const;
    const Group* top(Running running) const;
    bool holdsLink(Running running, const std::shared_ptr<const int>& link) const;
    Reach reach(const Group& group, Running running) const;
    void step(Running running);
    void run(Group group, std::vector<Group>& from, std::vector<Group>& to, Running running, UndoHistory* guest);
    std::vector<Group>& stack(Running running) { return running == Running::Undo ? undoStack_ : redoStack_; }
    std::vector<Group>& oppositeStack(Running running) { return running == Running::Undo ? redoStack_ : undoStack_; }
    void notify() const;

    std::vector<Group> undoStack_;
    std::vector<Group> redoStack_;
    std::optional<Group> open_;
    std::optional<Group> recording_; // what an undo or redo in progress registers
    Running running_ = Running::Nothing;
    std::uint64_t nextState_ = 1;
    // The saved state, or nothing when it can no longer be reached.
    std::optional<std::uint64_t> cleanState_ = 0;
    std::function<void()> changed_;
    UndoHistory* forwardTo_ = nullptr; // the history this one is joined to for now
};

} // namespace larkspan
