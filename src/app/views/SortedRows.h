#pragma once

#include "app/views/EntrySort.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace larkspan {

// Where a sorted tree view lists each folder's entries, remembered per
// folder: views ask for rows all the time, and sorting a folder of
// thousands of entries on each question would make scrolling crawl.
class SortedRows {
public:
    struct Order {
        std::vector<std::size_t> childAtRow; // the child shown in each row
        std::vector<int> rowOfChild;         // the row each child is shown in
    };

    // `folder` is null for the top level. Sorted now when nothing (or a
    // folder that has since gone) is remembered.
    const Order& orderOf(const RFATreeNode* folder, std::size_t count, const EntryAt& entryAt, const EntrySort& sort,
                         const EntrySize& sizeOf);
    // A remembered order follows its folder's change: a new child is listed
    // last until the folder is sorted again.
    void childInserted(const RFATreeNode* folder, std::size_t child);
    void childRemoved(const RFATreeNode* folder, std::size_t child);
    // For a subtree whose changes were not followed, or that leaves.
    void forgetSubtree(const RFATreeNode& top);
    void clear() { orders_.clear(); }

private:
    struct Remembered {
        // Tells a remembered folder from a new one at the same address.
        std::weak_ptr<const RFATreeNode> folder;
        Order order;
    };
    static void numberRows(Order& order);

    std::unordered_map<const RFATreeNode*, Remembered> orders_;
};

} // namespace larkspan
