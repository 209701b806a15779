#include "fs/FolderWriter.h"

#include "fs/NativeFiles.h"

#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

WriteResult failed(ErrorCode code, const fs::path& path, int systemError = 0)
{
    return WriteResult{WriteStatus::Failed, path, Error{code, path.string(), systemError}};
}

} // namespace

std::optional<WriteResult> FolderWriter::reachFolder(std::span<const std::string> components, Mode mode,
                                                     fs::path& folder) const
{
    if (components.empty())
        return failed(ErrorCode::EmptyName, root_);
    for (const std::string& component : components) {
        if (const std::optional<ErrorCode> unsafe = componentRefusal(component))
            return WriteResult{WriteStatus::Failed, root_, Error{*unsafe}};
    }
    folder = root_;
    for (const std::string& component : components.first(components.size() - 1)) {
        folder /= pathFromUtf8(component);
        std::error_code error;
        const fs::file_status status = native::linkStatus(folder, error);
        if (fs::is_symlink(status))
            return failed(ErrorCode::SymbolicLink, folder);
        if (fs::is_directory(status))
            continue;
        if (fs::exists(status))
            return failed(ErrorCode::FileInTheWay, folder);
        if (mode == Mode::Probe) {
            fs::path target = root_;
            for (const std::string& each : components)
                target /= pathFromUtf8(each);
            return WriteResult{WriteStatus::Free, std::move(target), {}};
        }
        if (!fs::create_directory(folder, error) && error)
            return failed(ErrorCode::CannotMakeFolder, folder, error.value());
    }
    return std::nullopt;
}

namespace {

// What is at the place of the file, once the folders above it are known to
// be folders.
WriteResult fileStatus(fs::path target)
{
    std::error_code error;
    const fs::file_status status = native::linkStatus(target, error);
    if (fs::is_symlink(status))
        return failed(ErrorCode::SymbolicLink, target);
    if (fs::is_directory(status))
        return failed(ErrorCode::FolderInTheWay, target);
    return WriteResult{fs::exists(status) ? WriteStatus::Exists : WriteStatus::Free, std::move(target), {}};
}

} // namespace

WriteResult FolderWriter::probeFile(std::span<const std::string> components) const
{
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Probe, folder))
        return *stopped;
    return fileStatus(folder / pathFromUtf8(components.back()));
}

WriteResult FolderWriter::writeFile(std::span<const std::string> components, ByteSpan bytes, bool replace) const
{
    // Making the folders first changes nothing a probe would refuse: it
    // stops at what is in the way, and a file that is there has its folders.
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Make, folder))
        return *stopped;
    WriteResult probe = fileStatus(folder / pathFromUtf8(components.back()));
    if (probe.status == WriteStatus::Failed || (probe.status == WriteStatus::Exists && !replace))
        return probe;
    const bool replacing = probe.status == WriteStatus::Exists;
    const Result<void> written = replacing ? writeFileAtomically(probe.path, bytes, Durability::FlushLater, *disk_)
                                           : writeNewFile(probe.path, bytes, *disk_);
    if (!written)
        return WriteResult{WriteStatus::Failed, probe.path, written.error()};
    return WriteResult{WriteStatus::Written, probe.path, {}, replacing};
}

WriteResult FolderWriter::makeFolder(std::span<const std::string> components) const
{
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Make, folder))
        return *stopped;
    const fs::path target = folder / pathFromUtf8(components.back());
    std::error_code error;
    const fs::file_status status = native::linkStatus(target, error);
    if (fs::is_symlink(status))
        return failed(ErrorCode::SymbolicLink, target);
    if (fs::exists(status) && !fs::is_directory(status))
        return failed(ErrorCode::FileInTheWay, target);
    if (!fs::exists(status) && !fs::create_directory(target, error) && error)
        return failed(ErrorCode::CannotMakeFolder, target, error.value());
    return WriteResult{WriteStatus::Written, target, {}};
}

} // namespace larkspan
