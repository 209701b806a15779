#include "document/SearchSnapshot.h"

#include "model/SearchPredicate.h"

namespace larkspan {

SearchSnapshot::SearchSnapshot(const std::vector<RFATreeNode::Ptr>& nodes)
{
    entries_.reserve(nodes.size());
    for (const RFATreeNode::Ptr& node : nodes) {
        if (!node->isText())
            entries_.push_back({node->name(), nullptr, nullptr});
        else if (std::shared_ptr<const StoredContent> stored = node->storedContent(); stored && !stored->decoded())
            entries_.push_back({node->name(), nullptr, std::move(stored)});
        else
            entries_.push_back({node->name(), node->data(), nullptr});
    }
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
        const Entry& entry = entries_[i];
        // Bytes that cannot be decoded hold nothing to find.
        const SharedBytes text =
            entry.stored && searchContents ? entry.stored->content().value_or(nullptr) : entry.text;
        if (entryMatches(pattern, entry.name, text.get(), searchNames, searchContents))
            found.push_back(i);
    }
    return found;
}

} // namespace larkspan
