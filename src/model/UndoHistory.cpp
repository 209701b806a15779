#include "model/UndoHistory.h"

#include <algorithm>

namespace larkspan {

UndoHistory::JoinedGroup::~JoinedGroup()
{
    if (guest_)
        guest_->forwardTo_ = nullptr;
}

UndoHistory::JoinedGroup UndoHistory::join(const std::shared_ptr<UndoHistory>& guest)
{
    if (!guest || guest.get() == this || running_ != Running::Nothing || guest->running_ != Running::Nothing)
        return JoinedGroup();
    const bool alreadyJoined = open_ && open_->link && open_->partner.lock() == guest && guest->open_ &&
                               guest->open_->link == open_->link;
    if (!alreadyJoined) {
        // A group joined with a third history is a step of its own.
        if (open_ && open_->link)
            endGroup();
        openGroup();
        guest->endGroup();
        guest->openGroup();
        guest->startNewStep();
        auto link = std::make_shared<const int>(0);
        open_->link = link;
        open_->partner = guest;
        Group& standIn = *guest->open_;
        standIn.link = std::move(link);
        standIn.partner = weak_from_this();
        standIn.standsForPartner = true;
        standIn.name = open_->name;
        guest->notify();
        notify();
    }
    guest->forwardTo_ = this;
    return JoinedGroup(guest.get());
}

void UndoHistory::startNewStep()
{
    // A new edit makes everything that could be redone unreachable.
    const bool cleanLost = std::any_of(redoStack_.begin(), redoStack_.end(), [&](const Group& g) {
        return cleanState_ == g.state;
    });
    if (cleanLost)
        cleanState_.reset();
    redoStack_.clear();
}

void UndoHistory::registerUndo(Action action)
{
    if (forwardTo_) {
        forwardTo_->registerUndo(std::move(action));
        return;
    }
    if (running_ != Running::Nothing) {
        recording_->actions.push_back(std::move(action));
        return;
    }
    // A group standing for a partner's step holds no actions of its own.
    if (open_ && open_->standsForPartner)
        endGroup();
    openGroup();
    // Anything else registered into a typing group ends the typing.
    open_->coalescingKey = nullptr;
    if (open_->actions.empty())
        startNewStep();
    open_->actions.push_back(std::move(action));
    notify();
}

void UndoHistory::registerCoalescingUndo(const void* key, Action action)
{
    if (forwardTo_) {
        registerUndo(std::move(action));
        return;
    }
    if (running_ == Running::Nothing && !open_ && !undoStack_.empty() && redoStack_.empty()) {
        Group& top = undoStack_.back();
        if (key && top.coalescingKey == key && cleanState_ != top.state && !top.link) {
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
    if (holdsStep(*open_))
        undoStack_.push_back(std::move(*open_));
    open_.reset();
    notify();
}

const UndoHistory::Group* UndoHistory::top(Running running) const
{
    if (running == Running::Undo) {
        if (open_ && holdsStep(*open_))
            return &*open_;
        return undoStack_.empty() ? nullptr : &undoStack_.back();
    }
    return redoStack_.empty() ? nullptr : &redoStack_.back();
}

bool UndoHistory::holdsLink(Running running, const std::shared_ptr<const int>& link) const
{
    const std::vector<Group>& groups = running == Running::Undo ? undoStack_ : redoStack_;
    if (running == Running::Undo && open_ && open_->link == link)
        return true;
    return std::any_of(groups.begin(), groups.end(), [&](const Group& g) { return g.link == link; });
}

UndoHistory::Reach UndoHistory::reach(const Group& group, Running running) const
{
    if (!group.link)
        return Reach::Together;
    const std::shared_ptr<UndoHistory> partner = group.partner.lock();
    if (!partner)
        return Reach::Alone;
    if (partner->running_ != Running::Nothing)
        return Reach::Blocked;
    const Group* partnerTop = partner->top(running);
    if (partnerTop && partnerTop->link == group.link)
        return Reach::Together;
    if (partner->holdsLink(running, group.link))
        return Reach::Blocked;
    return running == Running::Undo ? Reach::Alone : Reach::Lost;
}

bool UndoHistory::canUndo() const
{
    const Group* group = top(Running::Undo);
    return group && reach(*group, Running::Undo) != Reach::Blocked;
}

bool UndoHistory::canRedo() const
{
    const Group* group = top(Running::Redo);
    return group && reach(*group, Running::Redo) != Reach::Blocked && reach(*group, Running::Redo) != Reach::Lost;
}

std::string UndoHistory::undoActionName() const
{
    const Group* group = top(Running::Undo);
    return group ? group->name : std::string();
}

std::string UndoHistory::redoActionName() const
{
    return redoStack_.empty() ? std::string() : redoStack_.back().name;
}

void UndoHistory::undo()
{
    endGroup();
    step(Running::Undo);
}

void UndoHistory::redo()
{
    endGroup();
    step(Running::Redo);
}

void UndoHistory::step(Running running)
{
    std::vector<Group>& from = stack(running);
    std::vector<Group>& to = oppositeStack(running);
    if (from.empty() || running_ != Running::Nothing)
        return;
    const Reach how = reach(from.back(), running);
    if (how == Reach::Blocked)
        return;
    if (how == Reach::Lost) {
        from.clear();
        notify();
        return;
    }
    Group group = std::move(from.back());
    from.pop_back();
    if (how == Reach::Alone && group.standsForPartner) {
        // The actions went with the partner: nothing is left to run here.
        to.push_back(std::move(group));
        notify();
        return;
    }
    if (how == Reach::Alone || !group.link) {
        run(std::move(group), from, to, running, nullptr);
        return;
    }
    // Both sides of a joined step move together; the actions run where they are kept.
    const std::shared_ptr<UndoHistory> partner = group.partner.lock();
    partner->endGroup();
    Group twin = std::move(partner->stack(running).back());
    partner->stack(running).pop_back();
    UndoHistory& owner = group.standsForPartner ? *partner : *this;
    UndoHistory& standIn = group.standsForPartner ? *this : *partner;
    Group& ownerGroup = group.standsForPartner ? twin : group;
    Group& standInGroup = group.standsForPartner ? group : twin;
    try {
        owner.run(std::move(ownerGroup), owner.stack(running), owner.oppositeStack(running), running, &standIn);
    } catch (...) {
        standIn.stack(running).push_back(std::move(standInGroup));
        standIn.notify();
        throw;
    }
    standIn.oppositeStack(running).push_back(std::move(standInGroup));
    standIn.notify();
}

void UndoHistory::run(Group group, std::vector<Group>& from, std::vector<Group>& to, Running running,
                      UndoHistory* guest)
{
    recording_ = Group{group.name, {}, group.state, nullptr, group.link, group.partner, group.standsForPartner};
    running_ = running;
    if (guest)
        guest->forwardTo_ = this;
    std::size_t remaining = group.actions.size();
    try {
        for (; remaining > 0; --remaining)
            group.actions[remaining - 1]();
    } catch (...) {
        // The failed action changed nothing (the primitives check before they
        // change): what ran can be reversed, the rest stays where it was.
        running_ = Running::Nothing;
        if (guest)
            guest->forwardTo_ = nullptr;
        group.actions.resize(remaining);
        from.push_back(std::move(group));
        if (!recording_->actions.empty()) {
            recording_->link.reset();
            to.push_back(std::move(*recording_));
        }
        recording_.reset();
        notify();
        throw;
    }
    running_ = Running::Nothing;
    if (guest)
        guest->forwardTo_ = nullptr;
    if (holdsStep(*recording_))
        to.push_back(std::move(*recording_));
    recording_.reset();
    notify();
}

std::uint64_t UndoHistory::currentState() const
{
    if (open_ && holdsStep(*open_))
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
