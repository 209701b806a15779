#pragma once

// Finding a mod's parts on disk as the game, which runs on Windows, finds
// them: every name without regard to case.

#include "base/Error.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

enum class EntryType { File, Folder };

// A path's text, "/" between components, in UTF-8: how archives and mods
// are named to the user.
std::string genericUtf8(const std::filesystem::path& path);

// The entry of `folder` named `name` without regard to case, of the wanted
// type (links followed); the bytewise first when several differ only in
// case; nothing when there is none.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder, std::string_view name,
                                                      EntryType type);

struct ModArchiveFile {
    std::filesystem::path path; // on disk
    std::string relativePath;   // below the mod's Archives folder, "/" between components, UTF-8
};

struct ModArchiveFiles {
    std::vector<ModArchiveFile> archives; // sorted by relativePath, bytewise
    // Folders and files below Archives that could not be looked at
    // (CannotRead, the path as subject).
    std::vector<Error> unreadable;
};

// Every file named *.rfa (any case) at any depth below the mod's Archives
// folder; none when the mod has no such folder.
ModArchiveFiles findModArchives(const std::filesystem::path& modFolder);

} // namespace larkspan
