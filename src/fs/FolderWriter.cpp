#include "fs/FolderWriter.h"

#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

WriteResult refused(WriteRefusal refusal, fs::path path)
{
    WriteResult result;
    result.status = WriteStatus::Refused;
    result.refusal = refusal;
    result.path = std::move(path);
    return result;
}

fs::path utf8Component(const std::string& component)
{
    return fs::path(std::u8string(component.begin(), component.end()));
}

} // namespace

std::optional<WriteResult> FolderWriter::reachFolder(std::span<const std::string> components, Mode mode,
                                                     fs::path& folder) const
{
    if (components.empty()) {
        WriteResult result = refused(WriteRefusal::UnsafeName, root_);
        result.unsafe = PathRefusal::Empty;
        return result;
    }
    for (const std::string& component : components) {
        if (const std::optional<PathRefusal> unsafe = componentRefusal(component)) {
            WriteResult result = refused(WriteRefusal::UnsafeName, root_ / utf8Component(component));
            result.unsafe = unsafe;
            return result;
        }
    }
    folder = root_;
    for (const std::string& component : components.first(components.size() - 1)) {
        folder /= utf8Component(component);
        std::error_code error;
        const fs::file_status status = fs::symlink_status(folder, error);
        if (fs::is_symlink(status))
            return refused(WriteRefusal::SymbolicLink, folder);
        if (fs::is_directory(status))
            continue;
        if (fs::exists(status))
            return refused(WriteRefusal::FileInTheWay, folder);
        if (mode == Mode::Probe) {
            fs::path target = root_;
            for (const std::string& each : components)
                target /= utf8Component(each);
            return WriteResult{WriteStatus::Free, std::move(target), {}, {}, {}};
        }
        if (!fs::create_directory(folder, error) && error) {
            WriteResult result;
            result.status = WriteStatus::Failed;
            result.path = folder;
            result.error = FileError{FileFailure::Open, folder.string() + ": " + error.message()};
            return result;
        }
    }
    return std::nullopt;
}

WriteResult FolderWriter::probeFile(std::span<const std::string> components) const
{
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Probe, folder))
        return *stopped;
    const fs::path target = folder / utf8Component(components.back());
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    if (fs::is_symlink(status))
        return refused(WriteRefusal::SymbolicLink, target);
    if (fs::is_directory(status))
        return refused(WriteRefusal::FolderInTheWay, target);
    return WriteResult{fs::exists(status) ? WriteStatus::Exists : WriteStatus::Free, target, {}, {}, {}};
}

WriteResult FolderWriter::writeFile(std::span<const std::string> components, ByteSpan bytes, bool replace) const
{
    WriteResult probe = probeFile(components);
    if (probe.status == WriteStatus::Refused || (probe.status == WriteStatus::Exists && !replace))
        return probe;
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Make, folder))
        return *stopped;
    WriteResult result{WriteStatus::Written, probe.path, {}, {}, {}};
    if (std::optional<FileError> error = writeFileAtomically(probe.path, bytes, Durability::FlushLater, *disk_)) {
        result.status = WriteStatus::Failed;
        result.error = std::move(error);
    }
    return result;
}

WriteResult FolderWriter::makeFolder(std::span<const std::string> components) const
{
    fs::path folder;
    if (std::optional<WriteResult> stopped = reachFolder(components, Mode::Make, folder))
        return *stopped;
    const fs::path target = folder / utf8Component(components.back());
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    if (fs::is_symlink(status))
        return refused(WriteRefusal::SymbolicLink, target);
    if (fs::exists(status) && !fs::is_directory(status))
        return refused(WriteRefusal::FileInTheWay, target);
    WriteResult result{WriteStatus::Written, target, {}, {}, {}};
    if (!fs::exists(status) && !fs::create_directory(target, error) && error) {
        result.status = WriteStatus::Failed;
        result.error = FileError{FileFailure::Open, target.string() + ": " + error.message()};
    }
    return result;
}

} // namespace larkspan
