#pragma once

#include "base/Error.h"
#include "base/Bytes.h"
#include "format/Lzo1xCompressor.h"
#include "fs/FileIO.h"
#include "model/RFATreeNode.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace larkspan {

// Reports work done so far out of the whole, in bytes.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;
// The same while reading, which the user may stop: false stops it.
using ReadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
using WriteProgress = ReadProgress;

// How an archive is written.
struct WriteOptions {
    // Nothing: every entry as it stands (compression flag 0). A level: every
    // entry compressed in segments (flag 1), the way the game's packer does.
    std::optional<CompressionLevel> compression;
    // Threads that compress; 0 for one per core. The bytes are the same
    // whatever the number.
    unsigned workers = 0;
};

// One file as the writer stores it: its full path ("/" between components,
// UTF-8) and its content.
struct ArchiveEntry {
    std::string path;
    SharedBytes content;
};

// Writes the entries, in order, as an archive in the writer's layout; the
// rules of RFAArchive::writeFileData and writeToFile below. `storedSizes`,
// when given, receives what each entry takes in the file.
Result<void> writeEntries(const std::vector<ArchiveEntry>& entries, const ByteSink& sink,
                          const WriteOptions& options, const WriteProgress& progress = {},
                          std::vector<std::uint32_t>* storedSizes = nullptr);
Result<void> writeEntriesToFile(const std::filesystem::path& target, const std::vector<ArchiveEntry>& entries,
                                const WriteOptions& options = {}, const WriteProgress& progress = {},
                                DiskCalls& disk = realDisk(), std::vector<std::uint32_t>* storedSizes = nullptr);

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
    // the reading. Compressed entries are decoded on `workers` threads (0
    // for one per core); the tree is built on the calling thread alone.
    static Result<std::unique_ptr<RFAArchive>> initWithData(ByteSpan file, const ReadProgress& progress = {},
                                                            unsigned workers = 0);

    // The node the document shows: the first top-level folder, or null when
    // the archive has none.
    RFATreeNode::Ptr root() const;

    // Every top-level node in order of first appearance.
    const std::vector<RFATreeNode::Ptr>& rootNodes() const { return rootNodes_; }

    // Number of files the archive would write.
    std::uint64_t leafCount() const;

    // The file it was read from held compressed entries.
    bool readCompressed() const { return readCompressed_; }

    // What an entry's bytes take in the file the archive was last read from
    // or saved to, while the entry still holds those very bytes (they are
    // immutable, so the same buffer means the same content); nothing for
    // bytes added or replaced since.
    std::optional<std::uint32_t> storedSizeOf(const SharedBytes& data) const;
    // After a save of `entries` (as entries() listed them): the sizes they
    // took in the new file replace those of the old.
    void rememberStoredSizes(const std::vector<ArchiveEntry>& entries, const std::vector<std::uint32_t>& sizes);
    // Every file the archive would write, in the order it writes them: the
    // top-level nodes in order, each walked depth first.
    std::vector<ArchiveEntry> entries() const;

    // The bytes of the archive in the writer's layout, or nothing when they
    // would not fit the format's 32-bit sizes and offsets.
    std::optional<Bytes> completeFileData(const WriteOptions& options = {}) const;

    // The same bytes, handed to `sink` piece by piece without assembling the
    // whole file. Entries are compressed first, all of them, since the header
    // names where the directory lies. Progress runs over the compressing and
    // the writing. ArchiveTooLarge, having written nothing, when the bytes
    // would not fit the format; Cancelled when the progress callback stopped
    // it (the sink may have had part of the file then).
    Result<void> writeFileData(const ByteSink& sink, const WriteOptions& options,
                               const WriteProgress& progress = {}) const;
    // Uncompressed, without a way to stop; false when too large.
    bool writeFileData(const ByteSink& sink, const ProgressCallback& progress = {}) const;

    // Writes the file atomically: `target` keeps its old content unless
    // the whole new one is there. ArchiveTooLarge, Cancelled, or why the
    // file could not be written.
    Result<void> writeToFile(const std::filesystem::path& target, const WriteOptions& options = {},
                             const WriteProgress& progress = {}, DiskCalls& disk = realDisk()) const;

private:
    struct StoredSize {
        std::weak_ptr<const Bytes> data; // tells a freed buffer from a new one at its address
        std::uint32_t size;
    };
    using StoredSizes = std::unordered_map<const Bytes*, StoredSize>;

    RFAArchive(std::vector<RFATreeNode::Ptr> rootNodes, bool readCompressed, StoredSizes storedSizes)
        : rootNodes_(std::move(rootNodes)), readCompressed_(readCompressed), storedSizes_(std::move(storedSizes))
    {
    }

    std::vector<RFATreeNode::Ptr> rootNodes_;
    bool readCompressed_ = false;
    StoredSizes storedSizes_;
};

} // namespace larkspan
