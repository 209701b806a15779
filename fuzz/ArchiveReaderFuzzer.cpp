// The archive reader on any file: it either refuses the file with one of
// its two errors, or yields trees that the writer stores and the reader
// gives back unchanged.

#include "FuzzCheck.h"

#include "model/RFAArchive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace larkspan;

struct ListedNode {
    std::string fullPath;
    SharedBytes data; // null for a folder
};

void list(const RFATreeNode::Ptr& node, std::vector<ListedNode>& out)
{
    out.push_back({node->fullPath(), node->data()});
    if (node->isLeaf()) {
        FUZZ_CHECK(node->countOfChildren() == 0);
        return;
    }
    // Folders exist only as the paths of the files in them.
    FUZZ_CHECK(node->countOfChildren() > 0);
    for (std::size_t i = 0; i < node->countOfChildren(); ++i) {
        const RFATreeNode::Ptr& child = node->objectInChildrenAtIndex(i);
        FUZZ_CHECK(child->parent() == node);
        list(child, out);
    }
}

// Every node in pre-order, top-level nodes in their order.
std::vector<ListedNode> listing(const RFAArchive& archive)
{
    std::vector<ListedNode> nodes;
    for (const RFATreeNode::Ptr& top : archive.rootNodes()) {
        FUZZ_CHECK(!top->parent());
        list(top, nodes);
    }
    return nodes;
}

bool sameListing(const std::vector<ListedNode>& a, const std::vector<ListedNode>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].fullPath != b[i].fullPath || !a[i].data != !b[i].data)
            return false;
        if (a[i].data && *a[i].data != *b[i].data)
            return false;
    }
    return true;
}

void checkRefusal(const Error& error)
{
    FUZZ_CHECK(error.code == ErrorCode::OutOfBounds || error.code == ErrorCode::Decompression);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSpan file(data, size);
    std::uint64_t lastDone = 0;
    const auto progress = [&](std::uint64_t done, std::uint64_t total) {
        FUZZ_CHECK(done >= lastDone && done <= total);
        lastDone = done;
        return true;
    };
    const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(file, progress);
    if (!read) {
        checkRefusal(read.error());
        return 0;
    }
    const std::unique_ptr<RFAArchive>& archive = *read;
    const std::vector<ListedNode> nodes = listing(*archive);
    std::uint64_t files = 0;
    for (const ListedNode& node : nodes)
        files += node.data != nullptr;
    FUZZ_CHECK(archive->leafCount() == files);

    const std::optional<Bytes> written = archive->completeFileData();
    if (!written)
        return 0; // more than the format's 4 GiB
    const std::unique_ptr<RFAArchive> reread = RFAArchive::initWithData(*written).value_or(nullptr);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(sameListing(nodes, listing(*reread)));
    FUZZ_CHECK(reread->completeFileData() == written);
    return 0;
}
