#pragma once

// The one way a file or folder on disk is walked to go into an archive,
// shared by the editor's Add Files and drops and by `rfa pack`, so that the
// same folder makes the same archive through either:
//
//  - Links are followed, to files and to folders. A link to a folder the
//    walk is already inside would never end: it is left out (LinkLoop).
//  - Only regular files and folders are taken. Pipes, sockets and devices
//    are left out (SpecialFile): reading one could block for ever or never
//    end.
//  - A link to nothing, or an entry gone by the time it is looked at, is
//    left out (Missing); one whose kind or size cannot be learnt, and a
//    folder that cannot be listed, are left out (Unreadable).
//  - Names are kept as they are; whether one fits Latin-1, the only names
//    an archive stores, is noted for the caller to judge.
//  - One order: in each folder its files sorted by name (bytewise, so
//    capitals first), then its subfolders sorted by name.
//
// Whatever is reported is left out of the description; what it means
// (leave it out quietly, warn, or stop) is the caller's to decide.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

enum class WalkProblem { Unreadable, Missing, LinkLoop, SpecialFile };

struct WalkReport {
    std::filesystem::path path;
    WalkProblem problem;
    std::string reason; // the system's words, when it gave any
};

enum class WalkedKind { File, Folder };

struct WalkedItem {
    std::filesystem::path path;      // on disk, as reached (through links)
    std::string name;                // its own name, UTF-8
    bool latin1Name = true;          // false when the name has characters beyond Latin-1
    WalkedKind kind = WalkedKind::File;
    std::uint64_t size = 0;          // a file's size in bytes
    std::vector<WalkedItem> entries; // a folder's, in the walk's order
};

struct FolderWalk {
    std::optional<WalkedItem> top; // nothing when the path leads nowhere or was reported
    std::vector<WalkReport> reports;
};

// The file or folder at `path` ("folder/" names the folder) and everything
// below it. A path that leads nowhere is no report, only nothing.
FolderWalk walkFolder(const std::filesystem::path& path);

} // namespace larkspan
