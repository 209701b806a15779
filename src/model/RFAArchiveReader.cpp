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

std::unique_ptr<RFAArchive> fail(UnpackError* error, UnpackFailure failure)
{
    if (error)
        *error = UnpackError::make(failure);
    return nullptr;
}

} // namespace

std::unique_ptr<RFAArchive> RFAArchive::initWithData(ByteSpan file, UnpackError* error,
                                                     const ReadProgress& progress)
{
    const std::optional<ArchiveHeader> header = readArchiveHeader(file);
    if (!header)
        return fail(error, UnpackFailure::OutOfBounds);

    TreeBuilder builder;
    std::uint64_t position = firstRecordPosition(*header);
    std::uint64_t bytesDone = 0;
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        std::optional<EntryRecord> record = readEntryRecord(file, *header, position);
        if (!record)
            return fail(error, UnpackFailure::OutOfBounds);
        std::vector<std::string> components = splitEntryPath(record->name);
        if (components.size() > kMaxEntryDepth)
            return fail(error, UnpackFailure::OutOfBounds);
        SharedBytes content = entryContent(*record);
        if (!content)
            return fail(error, UnpackFailure::Decompression);
        builder.place(components, std::move(content));
        if (progress) {
            // Records may share their stored bytes: never report more than the file.
            bytesDone = std::min<std::uint64_t>(bytesDone + record->storedSize, file.size());
            if (!progress(bytesDone, file.size()))
                return fail(error, UnpackFailure::Cancelled);
        }
    }
    return std::unique_ptr<RFAArchive>(new RFAArchive(builder.takeRoots()));
}

} // namespace larkspan
