#pragma once

// The rule for turning archive names into file-system paths that stay inside
// the folder they are written to. Archives in the wild carry ".." components,
// absolute names and Windows separators; none of them may lead a write
// outside the chosen folder.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace larkspan {

enum class PathRefusal {
    Empty,          // no name at all
    Absolute,       // starts with "/" or "\"
    EmptyComponent, // "a//b", or a trailing "/"
    CurrentFolder,  // a "." component
    ParentFolder,   // a ".." component, also between backslashes ("a\..\b")
    Separator,      // a component holding "/" or "\" (a separator on Windows)
    NulByte,        // the file system would cut the name there
};

struct SafePathError {
    PathRefusal refusal;
    std::string message;
};

// Nothing when the component may be a file or folder name of its own;
// otherwise why not.
std::optional<PathRefusal> componentRefusal(std::string_view component);

inline bool isSafePathComponent(std::string_view component)
{
    return !componentRefusal(component).has_value();
}

// The relative file-system path for an entry's full name ("/" between
// components, UTF-8), or nothing with `error` filled when any component is
// unsafe.
std::optional<std::filesystem::path> relativePathForEntry(std::string_view entryPath,
                                                          SafePathError* error = nullptr);

// The same for a name already split into components (a tree node's path).
std::optional<std::filesystem::path>
relativePathForComponents(std::span<const std::string> components, SafePathError* error = nullptr);

} // namespace larkspan
