#pragma once

#include "model/NodeProperty.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace larkspan {

// What an observer is told about one change of one property of one node.
struct ChangeReport {
    RFATreeNode& node;
    NodeProperty property;
    ChangeKind kind;
    std::size_t index;        // the position inserted or removed (children only)
    bool isPrior;             // told before the change (will-change)
    const ChangeValue& oldValue; // when the observer asked for it
};

struct ObserverOptions {
    const RFATreeNode* node = nullptr; // only this node's changes; null for every node
    PropertySet properties = PropertySet::all();
    bool prior = false;    // also tell before each change
    bool oldValue = false; // carry the value before the change
};

class ChangeHub;

// Ends its observation when destroyed.
class ObserverToken {
public:
    ObserverToken() = default;
    ObserverToken(std::weak_ptr<ChangeHub> hub, std::uint64_t id) : hub_(std::move(hub)), id_(id) {}
    ObserverToken(ObserverToken&& other) noexcept { *this = std::move(other); }
    ObserverToken& operator=(ObserverToken&& other) noexcept;
    ~ObserverToken() { reset(); }
    void reset();

private:
    std::weak_ptr<ChangeHub> hub_;
    std::uint64_t id_ = 0;
};

// One per document: every node of the document's tree announces its changes
// here, and views, windows and the document observe them, each filtering by
// node and property. Announcements arrive synchronously, will-change before
// the change and did-change after it.
class ChangeHub : public std::enable_shared_from_this<ChangeHub> {
public:
    using Observer = std::function<void(const ChangeReport&)>;

    [[nodiscard]] ObserverToken observe(ObserverOptions options, Observer observer);
    void removeObserver(std::uint64_t id);

    // Whether anybody listens for this property (of any node): announcers
    // skip work, such as walking a subtree, that nobody would see.
    bool isObserved(NodeProperty property) const
    {
        return interest_[static_cast<std::size_t>(property)] > 0;
    }

    void willChange(RFATreeNode& node, NodeProperty property, ChangeKind kind, std::size_t index);
    void didChange(RFATreeNode& node, NodeProperty property, ChangeKind kind, std::size_t index);

private:
    struct Entry {
        ObserverOptions options;
        Observer observer;
    };
    template <typename Visit>
    void forEachObserver(const RFATreeNode& node, NodeProperty property, Visit&& visit);

    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, Entry> observers_;
    std::unordered_map<const RFATreeNode*, std::vector<std::uint64_t>> byNode_;
    std::vector<std::uint64_t> global_;
    std::array<std::size_t, kNodePropertyCount> interest_{};
    // Values taken at will-change for observers that asked, by node and
    // property; a stack, because changes of one property can nest.
    std::map<std::pair<const RFATreeNode*, NodeProperty>, std::vector<ChangeValue>> pendingOld_;
};

} // namespace larkspan
