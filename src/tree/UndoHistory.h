#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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
class UndoHistory {
public:
    using Action = std::function<void()>;

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

    // A group has been opened by a registration and not yet closed.
    bool hasOpenGroup() const { return open_.has_value() && !open_->actions.empty(); }
    bool canUndo() const;
    bool canRedo() const { return !redoStack_.empty(); }
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
    };
    enum class Running { Nothing, Undo, Redo };

    void openGroup();
    std::uint64_t currentState() const;
    void run(std::vector<Group>& from, std::vector<Group>& to, Running running);
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
};

} // namespace larkspan
