#include "model/ChangeHub.h"

#include "model/RFATreeNode.h"

#include <algorithm>
#include <utility>

namespace larkspan {

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept
{
    if (this != &other) {
        reset();
        hub_ = std::move(other.hub_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void ObserverToken::reset()
{
    if (const std::shared_ptr<ChangeHub> hub = hub_.lock())
        hub->removeObserver(id_);
    hub_.reset();
    id_ = 0;
}

ObserverToken ChangeHub::observe(ObserverOptions options, Observer observer)
{
    const std::uint64_t id = nextId_++;
    if (options.node)
        byNode_[options.node].push_back(id);
    else
        global_.push_back(id);
    for (std::size_t p = 0; p < kNodePropertyCount; ++p)
        if (options.properties.contains(static_cast<NodeProperty>(p)))
            ++interest_[p];
    observers_.emplace(id, Entry{options, std::move(observer)});
    return ObserverToken(weak_from_this(), id);
}

void ChangeHub::removeObserver(std::uint64_t id)
{
    const auto found = observers_.find(id);
    if (found == observers_.end())
        return;
    const ObserverOptions& options = found->second.options;
    std::vector<std::uint64_t>& list = options.node ? byNode_[options.node] : global_;
    list.erase(std::remove(list.begin(), list.end(), id), list.end());
    if (options.node && list.empty())
        byNode_.erase(options.node);
    for (std::size_t p = 0; p < kNodePropertyCount; ++p)
        if (options.properties.contains(static_cast<NodeProperty>(p)))
            --interest_[p];
    observers_.erase(found);
}

template <typename Visit>
void ChangeHub::forEachObserver(const RFATreeNode& node, NodeProperty property, Visit&& visit)
{
    // Observers may come and go while being told: work from a snapshot and
    // skip those that left meanwhile.
    std::vector<std::uint64_t> ids;
    if (const auto mine = byNode_.find(&node); mine != byNode_.end())
        ids = mine->second;
    ids.insert(ids.end(), global_.begin(), global_.end());
    for (std::uint64_t id : ids) {
        const auto entry = observers_.find(id);
        if (entry != observers_.end() && entry->second.options.properties.contains(property))
            visit(entry->second);
    }
}

void ChangeHub::willChange(RFATreeNode& node, NodeProperty property, ChangeKind kind, std::size_t index)
{
    if (!isObserved(property))
        return;
    bool wantsOld = false;
    bool wantsPrior = false;
    forEachObserver(node, property, [&](const Entry& e) {
        wantsOld |= e.options.oldValue;
        wantsPrior |= e.options.prior;
    });
    const ChangeValue none;
    const ChangeValue* old = &none;
    if (wantsOld) {
        std::vector<ChangeValue>& stack = pendingOld_[{&node, property}];
        stack.push_back(node.valueForProperty(property));
        old = &stack.back();
    }
    if (!wantsPrior)
        return;
    const ChangeValue oldValue = *old; // the stack may grow while observers run
    forEachObserver(node, property, [&](const Entry& e) {
        if (e.options.prior)
            e.observer({node, property, kind, index, true, e.options.oldValue ? oldValue : none});
    });
}

void ChangeHub::didChange(RFATreeNode& node, NodeProperty property, ChangeKind kind, std::size_t index)
{
    if (!isObserved(property))
        return;
    ChangeValue old;
    if (const auto pending = pendingOld_.find({&node, property}); pending != pendingOld_.end()) {
        old = std::move(pending->second.back());
        pending->second.pop_back();
        if (pending->second.empty())
            pendingOld_.erase(pending);
    }
    const ChangeValue none;
    forEachObserver(node, property, [&](const Entry& e) {
        e.observer({node, property, kind, index, false, e.options.oldValue ? old : none});
    });
}

const char* propertyName(NodeProperty property)
{
    static constexpr const char* names[kNodePropertyCount] = {
        "name",     "parent", "data",   "children", "undoManager", "contents",
        "image",    "isText", "isImage", "fullPath", "fullSize",    "flattenedTree"};
    return names[static_cast<std::size_t>(property)];
}

} // namespace larkspan
