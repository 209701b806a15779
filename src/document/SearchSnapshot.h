#pragma once

#include "base/Bytes.h"
#include "format/StoredContent.h"
#include "model/RFATreeNode.h"

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// What a search reads of the trees, copied out of them on the thread that
// owns them: every entry's name and the bytes of text entries (shared, never
// copied; those still stored are decoded by the search), in tree order. The
// copy can then be searched on another thread while the trees go on
// changing.
class SearchSnapshot {
public:
    explicit SearchSnapshot(const std::vector<RFATreeNode::Ptr>& nodes);

    // The entries of the trees in tree order (pre-order, the trees one after
    // another): what a snapshot is taken of, and what its matches point into.
    static std::vector<RFATreeNode::Ptr> entriesInTreeOrder(const std::vector<RFATreeNode::Ptr>& topLevel);

    // The positions of the matching entries, by the rule of the search
    // (SearchPredicate.h); nothing once `cancelled` is set. Any thread.
    std::optional<std::vector<std::size_t>> search(std::string_view text, bool searchNames, bool searchContents,
                                                   const std::atomic<bool>& cancelled) const;

private:
    struct Entry {
        std::string name;
        SharedBytes text; // null unless a text entry read already
        std::shared_ptr<const StoredContent> stored; // a text entry's bytes not read yet
    };
    std::vector<Entry> entries_;
};

} // namespace larkspan
