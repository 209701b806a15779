// Reading a file node's bytes that still lie, as stored, in the archive file.

#include "base/WorkerPool.h"
#include "format/StoredContent.h"
#include "model/RFATreeNode.h"

#include <optional>

namespace larkspan {

namespace {

// The stored bytes not decoded yet, below the node, in tree order.
void collectUndecoded(const RFATreeNode& node, std::vector<std::shared_ptr<const StoredContent>>& found)
{
    if (node.isLeaf()) {
        if (std::shared_ptr<const StoredContent> stored = node.storedContent(); stored && !stored->decoded())
            found.push_back(std::move(stored));
        return;
    }
    for (std::size_t i = 0; i < node.countOfChildren(); ++i)
        collectUndecoded(*node.objectInChildrenAtIndex(i), found);
}

Result<void> decodeOnWorkers(const std::vector<std::shared_ptr<const StoredContent>>& stored, unsigned workers)
{
    if (stored.empty())
        return {};
    std::vector<std::optional<Error>> failures(stored.size());
    std::optional<Error> failure;
    WorkerPool pool(workers == 0 ? defaultWorkerCount() : workers);
    pool.run(
        stored.size(),
        [&](std::size_t i, unsigned) {
            if (const Result<SharedBytes> content = stored[i]->content(); !content)
                failures[i] = content.error();
        },
        [&](std::size_t i) {
            failure = failures[i];
            return !failure;
        });
    if (failure)
        return *failure;
    return {};
}

} // namespace

SharedBytes RFATreeNode::data() const
{
    if (data_ || !stored_)
        return data_;
    static const SharedBytes none = makeSharedBytes(Bytes{});
    return stored_->content().value_or(none);
}

Result<SharedBytes> RFATreeNode::readData() const
{
    if (data_ || !stored_)
        return data_;
    return stored_->content();
}

std::uint64_t RFATreeNode::size() const
{
    if (data_)
        return data_->size();
    return stored_ ? stored_->length() : 0;
}

Result<void> loadContents(std::span<const RFATreeNode::Ptr> nodes, unsigned workers)
{
    std::vector<std::shared_ptr<const StoredContent>> undecoded;
    for (const RFATreeNode::Ptr& node : nodes)
        collectUndecoded(*node, undecoded);
    return decodeOnWorkers(undecoded, workers);
}

Result<void> loadContents(const RFATreeNode& node, unsigned workers)
{
    std::vector<std::shared_ptr<const StoredContent>> undecoded;
    collectUndecoded(node, undecoded);
    return decodeOnWorkers(undecoded, workers);
}

} // namespace larkspan
