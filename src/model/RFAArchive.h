#pragma once

#include "base/Error.h"
#include "base/Bytes.h"
#include "model/RFATreeNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace larkspan {

// Reports work done so far out of the whole, in bytes.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;
// The same while reading, which the user may stop: false stops it.
using ReadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Deeper entry paths are refused when reading: nothing the game's tools write
// comes near, and the tree's recursive walks stay far from the stack's end.
inline constexpr std::size_t kMaxEntryDepth = 1024;

// The in-memory model of one archive: its top-level nodes, each the root of a
// tree. Normally one folder ("bf1942"); archives in the wild also have
// several top-level folders, and files outside any folder, and all of them
// are kept so that saving loses nothing.
class RFAArchive {
public:
    // A new archive: one empty folder named "bf1942".
    RFAArchive();

    // The archive in the file's bytes; OutOfBounds or Decompression for a
    // file that cannot be read, Cancelled when the progress callback stopped
    // the reading.
    static Result<std::unique_ptr<RFAArchive>> initWithData(ByteSpan file, const ReadProgress& progress = {});

    // The node the document shows: the first top-level folder, or null when
    // the archive has none.
    RFATreeNode::Ptr root() const;

    // Every top-level node in order of first appearance.
    const std::vector<RFATreeNode::Ptr>& rootNodes() const { return rootNodes_; }

    // Number of files the archive would write.
    std::uint64_t leafCount() const;

    // The bytes of the archive in the writer's layout, or nothing when they
    // would not fit the format's 32-bit sizes and offsets.
    std::optional<Bytes> completeFileData() const;

    // The same bytes, handed to `sink` piece by piece without assembling the
    // whole file. Returns false, having written nothing, when they would not
    // fit the format.
    bool writeFileData(const ByteSink& sink, const ProgressCallback& progress = {}) const;

private:
    RFAArchive(std::vector<RFATreeNode::Ptr> rootNodes) : rootNodes_(std::move(rootNodes)) {}

    std::vector<RFATreeNode::Ptr> rootNodes_;
};

} // namespace larkspan
