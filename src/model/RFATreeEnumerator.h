#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace larkspan {

class RFATreeNode;

// Every file below a node, once each, in pre-order; folders are passed over.
// The tree must not change while an enumerator is in use.
class RFATreeEnumerator {
public:
    explicit RFATreeEnumerator(std::shared_ptr<RFATreeNode> node);

    // Null when the walk is over.
    std::shared_ptr<RFATreeNode> nextObject();

private:
    struct Level {
        std::shared_ptr<RFATreeNode> folder;
        std::size_t nextChild;
    };
    std::vector<Level> stack_;
};

} // namespace larkspan
