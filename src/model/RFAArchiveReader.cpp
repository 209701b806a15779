#include "format/ArchiveDirectory.h"
#include "format/EntryPath.h"
#include "format/StoredContent.h"
#include "model/RFAArchive.h"
#include "model/StoredContentDecoding.h"

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
    void place(const std::vector<std::string>& components, std::shared_ptr<const StoredContent> content)
    {
        if (components.size() == 1) {
            roots_.push_back(RFATreeNode::initWithStoredContent(std::move(content), components.front()));
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
        folder->appendChild(RFATreeNode::initWithStoredContent(std::move(content), components.back(), folder));
    }

    std::vector<RFATreeNode::Ptr> takeRoots() { return std::move(roots_); }

private:
    std::vector<RFATreeNode::Ptr> roots_;
    // Folder path (components joined by NUL, which names cannot hold) → folder.
    std::unordered_map<std::string, RFATreeNode::Ptr> folders_;
};

} // namespace

Result<std::unique_ptr<RFAArchive>> RFAArchive::initWithFile(SharedBytes file, Decoding decoding,
                                                             const ReadProgress& progress, unsigned workers)
{
    const Result<ArchiveHeader> header = readArchiveHeader(*file);
    if (!header)
        return header.error();

    // The entries up to the first that cannot be read; what is wrong with an
    // entry before it is told first, as when reading in one pass.
    std::vector<std::shared_ptr<const StoredContent>> contents;
    std::vector<std::vector<std::string>> paths;
    std::optional<Error> entryError;
    bool compressed = false;
    std::uint64_t position = firstRecordPosition(*header);
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        Result<EntryRecord> record = readEntryRecord(*file, *header, position);
        if (!record) {
            entryError = record.error();
            break;
        }
        std::vector<std::string> components = splitEntryPath(record->name);
        if (components.size() > kMaxEntryDepth) {
            entryError = Error{ErrorCode::OutOfBounds, record->name};
            break;
        }
        compressed |= record->compressed;
        Result<std::shared_ptr<const StoredContent>> content = StoredContent::make(file, std::move(*record));
        if (!content) {
            entryError = content.error();
            break;
        }
        paths.push_back(std::move(components));
        contents.push_back(std::move(*content));
    }
    if (decoding == Decoding::WhileReading)
        if (const Result<void> decoded = decodeStoredContents(contents, workers, progress, file->size()); !decoded)
            return decoded.error();
    if (entryError)
        return *entryError;

    TreeBuilder builder;
    for (std::size_t i = 0; i < contents.size(); ++i)
        builder.place(paths[i], std::move(contents[i]));
    return std::unique_ptr<RFAArchive>(new RFAArchive(builder.takeRoots(), compressed, std::move(file)));
}

Result<std::unique_ptr<RFAArchive>> RFAArchive::initWithData(ByteSpan file, const ReadProgress& progress,
                                                             unsigned workers)
{
    return initWithFile(makeSharedBytes(file), Decoding::WhileReading, progress, workers);
}

} // namespace larkspan
