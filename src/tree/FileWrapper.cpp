#include "tree/FileWrapper.h"

#include "tree/RFATreeNode.h"

#include <cerrno>
#include <cstring>

namespace larkspan {

namespace fs = std::filesystem;

FileWrapper RFATreeNode::fileWrapper() const
{
    FileWrapper wrapper{name_, data_, {}};
    if (isLeaf())
        return wrapper;
    // Of two children with one name, the later one is kept: a folder on disk
    // cannot hold both.
    for (const Ptr& child : children_)
        wrapper.entries.insert_or_assign(child->name_, child->fileWrapper());
    return wrapper;
}

namespace {

void writeInto(const FileWrapper& wrapper, const fs::path& folder, WriteOutResult& result)
{
    if (const std::optional<PathRefusal> refusal = componentRefusal(wrapper.preferredFilename)) {
        result.skipped.push_back({folder, wrapper.preferredFilename, *refusal});
        return;
    }
    const fs::path path = folder / fs::path(wrapper.preferredFilename);
    if (!wrapper.isDirectory()) {
        if (std::optional<FileError> error = writeFileAtomically(path, *wrapper.contents, Durability::FlushLater))
            result.failures.push_back(std::move(*error));
        else
            result.writtenFiles.push_back(path);
        return;
    }
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error)) && !fs::create_directory(path, error) && error)
        result.failures.push_back({FileFailure::Open, path.string() + ": " + error.message()});
    for (const auto& [name, entry] : wrapper.entries)
        writeInto(entry, path, result);
}

} // namespace

WriteOutResult writeFileWrapper(const FileWrapper& wrapper, const fs::path& destinationFolder)
{
    WriteOutResult result;
    writeInto(wrapper, destinationFolder, result);
    if (!result.writtenFiles.empty() && !syncFileSystemOf(destinationFolder))
        result.failures.push_back({FileFailure::Write, destinationFolder.string() + ": the written files could not be flushed to disk"});
    return result;
}

} // namespace larkspan
