#include "tree/UndoHistory.h"

#include <algorithm>

namespace larkspan {

void UndoHistory::registerUndo(Action action)
{
    if (running_ != Running::Nothing) {
        recording_->actions.push_back(std::move(action));
        return;
    }
    openGroup();
    // Anything else registered into a typing group ends the typing.
    open_->coalescingKey = nullptr;
    if (open_->actions.empty()) {
        // A new edit makes everything that could be redone unreachable.
        const bool cleanLost = std::any_of(redoStack_.begin(), redoStack_.end(), [&](const Group& g) {
            return cleanState_ == g.state;
        });
        if (cleanLost)
            cleanState_.reset();
        redoStack_.clear();
    }
    open_->actions.push_back(std::move(action));
    notify();
}

void UndoHistory::registerCoalescingUndo(const void* key, Action action)
{
    if (running_ == Running::Nothing && !open_ && !undoStack_.empty() && redoStack_.empty()) {
        Group& top = undoStack_.back();
        if (key && top.coalescingKey == key && cleanState_ != top.state) {
            top.actions.push_back(std::move(action));
            notify();
            return;
        }
    }
    if (running_ != Running::Nothing) {
        registerUndo(std::move(action));
        return;
    }
    const bool fresh = !open_ || open_->actions.empty();
    const bool continues = !fresh && open_->coalescingKey == key;
    registerUndo(std::move(action));
    open_->coalescingKey = fresh || continues ? key : nullptr;
}

void UndoHistory::breakCoalescing()
{
    if (open_)
        open_->coalescingKey = nullptr;
    if (!undoStack_.empty())
        undoStack_.back().coalescingKey = nullptr;
}

void UndoHistory::setActionName(std::string name)
{
    if (running_ != Running::Nothing)
        return;
    openGroup();
    open_->name = std::move(name);
    notify();
}

void UndoHistory::openGroup()
{
    if (!open_) {
        open_ = Group{};
        open_->state = nextState_++;
    }
}

void UndoHistory::endGroup()
{
    if (!open_)
        return;
    if (!open_->actions.empty())
        undoStack_.push_back(std::move(*open_));
    open_.reset();
    notify();
}

bool UndoHistory::canUndo() const
{
    return !undoStack_.empty() || (open_ && !open_->actions.empty());
}

std::string UndoHistory::undoActionName() const
{
    if (open_ && !open_->actions.empty())
        return open_->name;
    return undoStack_.empty() ? std::string() : undoStack_.back().name;
}

std::string UndoHistory::redoActionName() const
{
    return redoStack_.empty() ? std::string() : redoStack_.back().name;
}

void UndoHistory::undo()
{
    endGroup();
    run(undoStack_, redoStack_, Running::Undo);
}

void UndoHistory::redo()
{
    endGroup();
    run(redoStack_, undoStack_, Running::Redo);
}

void UndoHistory::run(std::vector<Group>& from, std::vector<Group>& to, Running running)
{
    if (from.empty() || running_ != Running::Nothing)
        return;
    Group group = std::move(from.back());
    from.pop_back();
    recording_ = Group{group.name, {}, group.state};
    running_ = running;
    std::size_t remaining = group.actions.size();
    try {
        for (; remaining > 0; --remaining)
            group.actions[remaining - 1]();
    } catch (...) {
        // The failed action changed nothing (the primitives check before they
        // change): what ran can be reversed, the rest stays where it was.
        running_ = Running::Nothing;
        group.actions.resize(remaining);
        from.push_back(std::move(group));
        if (!recording_->actions.empty())
            to.push_back(std::move(*recording_));
        recording_.reset();
        notify();
        throw;
    }
    running_ = Running::Nothing;
    if (!recording_->actions.empty())
        to.push_back(std::move(*recording_));
    recording_.reset();
    notify();
}

std::uint64_t UndoHistory::currentState() const
{
    if (open_ && !open_->actions.empty())
        return open_->state;
    return undoStack_.empty() ? 0 : undoStack_.back().state;
}

void UndoHistory::markClean()
{
    endGroup();
    cleanState_ = currentState();
    notify();
}

bool UndoHistory::isModified() const
{
    return cleanState_ != currentState();
}

void UndoHistory::removeAllActions()
{
    undoStack_.clear();
    redoStack_.clear();
    open_.reset();
    if (cleanState_ != 0)
        cleanState_.reset();
    notify();
}

void UndoHistory::notify() const
{
    if (changed_)
        changed_();
}

} // namespace larkspan
