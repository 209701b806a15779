#pragma once

// Writing files and folders below one folder the user chose, never outside
// it: each name is checked component by component, and nothing is written
// through a symbolic link at or below that folder, which could lead
// anywhere. The chosen folder itself may be a link: the user picked it.

#include "base/Bytes.h"
#include "fs/FileIO.h"
#include "fs/SafePath.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace larkspan {

enum class WriteStatus {
    Free,    // a probe found nothing in the way
    Written, // the file is written, or the folder is there
    Exists,  // a file is already there and was left alone
    Failed,  // see `error`: an unsafe name (the component as subject), a
             // SymbolicLink, FolderInTheWay or FileInTheWay (what stands
             // in the way as subject), or the system's failure
};

struct WriteResult {
    WriteStatus status = WriteStatus::Free;
    std::filesystem::path path; // the file or folder meant
    std::optional<Error> error; // with Failed
    bool replaced = false;      // Written over a file that was there
};

class FolderWriter {
public:
    explicit FolderWriter(std::filesystem::path root, DiskCalls& disk = realDisk())
        : root_(std::move(root)), disk_(&disk)
    {
    }

    const std::filesystem::path& root() const { return root_; }
    DiskCalls& disk() const { return *disk_; }

    // What writing a file there would meet, without writing anything.
    WriteResult probeFile(std::span<const std::string> components) const;
    // The file, with the folders above it made where missing. A new file
    // is written under its name at once (removed again if that fails); an
    // existing one is replaced atomically, and only when `replace` is set
    // (Exists otherwise), its flush left to one syncFileSystemOf after the
    // last file. Never a folder or a link.
    WriteResult writeFile(std::span<const std::string> components, ByteSpan bytes, bool replace) const;
    // The folder, with those above it; an existing folder is written into.
    WriteResult makeFolder(std::span<const std::string> components) const;

private:
    enum class Mode { Probe, Make };
    // Walks (and in Make mode makes) the folders that hold the last
    // component; nothing when all are folders, otherwise what stopped it.
    std::optional<WriteResult> reachFolder(std::span<const std::string> components, Mode mode,
                                           std::filesystem::path& folder) const;

    std::filesystem::path root_;
    DiskCalls* disk_;
};

} // namespace larkspan
