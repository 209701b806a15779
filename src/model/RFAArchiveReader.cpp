#include "base/WorkerPool.h"
#include "format/ArchiveDirectory.h"
#include "format/EntryPath.h"
#include "model/RFAArchive.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

namespace larkspan {

namespace {

// Places entries as the node's own path insertion would (first folder of a
// name is reused, files are always appended), but finds that folder through
// an index instead of scanning the children, so that big folders read in
// linear time.
class TreeBuilder {
public:
    void place(const std::vector<std::string>& components, SharedBytes data)
    {
        if (components.size() == 1) {
            roots_.push_back(RFATreeNode::initWithData(std::move(data), components.front()));
            return;
        }
        std::string key;
        RFATreeNode::Ptr folder;
        for (std::size_t i = 0; i + 1 < components.size(); ++i) {
            key += components[i];
            key += '\0';
            RFATreeNode::Ptr& known = folders_[key];
            if (!known) {
                known = RFATreeNode::initAsDirectory(components[i], folder);
                if (folder)
                    folder->appendChild(known);
                else
                    roots_.push_back(known);
            }
            folder = known;
        }
        folder->appendChild(RFATreeNode::initWithData(std::move(data), components.back(), folder));
    }

    std::vector<RFATreeNode::Ptr> takeRoots() { return std::move(roots_); }

private:
    std::vector<RFATreeNode::Ptr> roots_;
    // Folder path (components joined by NUL, which names cannot hold) → folder.
    std::unordered_map<std::string, RFATreeNode::Ptr> folders_;
};

} // namespace

Result<std::unique_ptr<RFAArchive>> RFAArchive::initWithData(ByteSpan file, const ReadProgress& progress,
                                                             unsigned workers)
{
    const Result<ArchiveHeader> header = readArchiveHeader(file);
    if (!header)
        return header.error();

    // The records first, up to the first that cannot be read; what is wrong
    // with an entry before it is told first, as when reading in one pass.
    std::vector<EntryRecord> records;
    std::vector<std::vector<std::string>> paths;
    std::optional<Error> recordError;
    std::uint64_t position = firstRecordPosition(*header);
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        Result<EntryRecord> record = readEntryRecord(file, *header, position);
        if (!record) {
            recordError = record.error();
            break;
        }
        std::vector<std::string> components = splitEntryPath(record->name);
        if (components.size() > kMaxEntryDepth) {
            recordError = Error{ErrorCode::OutOfBounds, record->name};
            break;
        }
        paths.push_back(std::move(components));
        records.push_back(std::move(*record));
    }

    // Contents are decoded on the workers; each is placed in the tree here,
    // in record order, once it is there.
    std::vector<Result<SharedBytes>> contents(records.size(), Error{ErrorCode::Decompression});
    WorkerPool pool(workers == 0 ? defaultWorkerCount() : workers);
    TreeBuilder builder;
    std::uint64_t bytesDone = 0;
    std::optional<Error> failure;
    bool compressed = false;
    StoredSizes storedSizes;
    pool.run(
        records.size(), [&](std::size_t i, unsigned) { contents[i] = entryContent(records[i]); },
        [&](std::size_t i) {
            if (!contents[i]) {
                failure = contents[i].error();
                return false;
            }
            compressed |= records[i].compressed;
            storedSizes.try_emplace(contents[i]->get(), StoredSize{*contents[i], records[i].storedSize});
            builder.place(paths[i], std::move(*contents[i]));
            contents[i] = Error{ErrorCode::Decompression};
            if (progress) {
                // Records may share their stored bytes: never report more than the file.
                bytesDone = std::min<std::uint64_t>(bytesDone + records[i].storedSize, file.size());
                if (!progress(bytesDone, file.size())) {
                    failure = Error{ErrorCode::Cancelled};
                    return false;
                }
            }
            return true;
        });
    if (failure)
        return *failure;
    if (recordError)
        return *recordError;
    return std::unique_ptr<RFAArchive>(new RFAArchive(builder.takeRoots(), compressed, std::move(storedSizes)));
}

} // namespace larkspan
