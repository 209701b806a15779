#include "document/SearchSnapshot.h"

#include "model/SearchPredicate.h"

namespace larkspan {

SearchSnapshot::SearchSnapshot(const std::vector<RFATreeNode::Ptr>& nodes)
{
    entries_.reserve(nodes.size());
    for (const RFATreeNode::Ptr& node : nodes)
        entries_.push_back({node->name(), node->isText() ? node->data() : nullptr});
}

std::vector<RFATreeNode::Ptr> SearchSnapshot::entriesInTreeOrder(const std::vector<RFATreeNode::Ptr>& topLevel)
{
    std::vector<RFATreeNode::Ptr> nodes;
    for (const RFATreeNode::Ptr& top : topLevel) {
        std::vector<RFATreeNode::Ptr> below = top->nodesMatchingPredicate([](const RFATreeNode&) { return true; });
        nodes.insert(nodes.end(), below.begin(), below.end());
    }
    return nodes;
}

std::optional<std::vector<std::size_t>> SearchSnapshot::search(std::string_view text, bool searchNames,
                                                               bool searchContents,
                                                               const std::atomic<bool>& cancelled) const
{
    const FoldedPattern pattern(text);
    std::vector<std::size_t> found;
    if (pattern.empty() || (!searchNames && !searchContents))
        return found;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (cancelled.load(std::memory_order_relaxed))
            return std::nullopt;
        if (entryMatches(pattern, entries_[i].name, entries_[i].text.get(), searchNames, searchContents))
            found.push_back(i);
    }
    return found;
}

} // namespace larkspan
