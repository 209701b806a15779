// Reading a file node's bytes that still lie, as stored, in the archive file.

#include "base/WorkerPool.h"
#include "format/StoredContent.h"
#include "model/RFATreeNode.h"
#include "model/StoredContentDecoding.h"

#include <algorithm>
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

} // namespace

Result<void> decodeStoredContents(const std::vector<std::shared_ptr<const StoredContent>>& contents, unsigned workers,
                                  const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress,
                                  std::uint64_t total)
{
    if (contents.empty())
        return {};
    std::vector<std::optional<Error>> failures(contents.size());
    std::uint64_t done = 0;
    std::optional<Error> failure;
    WorkerPool pool(workers == 0 ? defaultWorkerCount() : workers);
    pool.run(
        contents.size(),
        [&](std::size_t i, unsigned) {
            if (const Result<SharedBytes> content = contents[i]->content(); !content)
                failures[i] = content.error();
        },
        [&](std::size_t i) {
            failure = failures[i];
            if (!failure && progress) {
                // Records may share their stored bytes: never report more than the whole.
                done = std::min<std::uint64_t>(done + contents[i]->storedSize(), total);
                if (!progress(done, total))
                    failure = Error{ErrorCode::Cancelled};
            }
            return !failure;
        });
    if (failure)
        return *failure;
    return {};
}

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
    return decodeStoredContents(undecoded, workers);
}

Result<void> loadContents(const RFATreeNode& node, unsigned workers)
{
    std::vector<std::shared_ptr<const StoredContent>> undecoded;
    collectUndecoded(node, undecoded);
    return decodeStoredContents(undecoded, workers);
}

} // namespace larkspan
