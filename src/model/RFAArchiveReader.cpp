#include "format/ArchiveDirectory.h"
#include "format/EntryPath.h"
#include "model/RFAArchive.h"

#include <algorithm>
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

Result<std::unique_ptr<RFAArchive>> RFAArchive::initWithData(ByteSpan file, const ReadProgress& progress)
{
    const Result<ArchiveHeader> header = readArchiveHeader(file);
    if (!header)
        return header.error();

    TreeBuilder builder;
    std::uint64_t position = firstRecordPosition(*header);
    std::uint64_t bytesDone = 0;
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        Result<EntryRecord> record = readEntryRecord(file, *header, position);
        if (!record)
            return record.error();
        std::vector<std::string> components = splitEntryPath(record->name);
        if (components.size() > kMaxEntryDepth)
            return Error{ErrorCode::OutOfBounds, record->name};
        Result<SharedBytes> content = entryContent(*record);
        if (!content)
            return content.error();
        builder.place(components, std::move(*content));
        if (progress) {
            // Records may share their stored bytes: never report more than the file.
            bytesDone = std::min<std::uint64_t>(bytesDone + record->storedSize, file.size());
            if (!progress(bytesDone, file.size()))
                return Error{ErrorCode::Cancelled};
        }
    }
    return std::unique_ptr<RFAArchive>(new RFAArchive(builder.takeRoots()));
}

} // namespace larkspan
