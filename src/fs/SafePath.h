#pragma once

// The rule for turning archive names into file-system paths that stay inside
// the folder they are written to. Archives in the wild carry ".." components,
// absolute names and Windows separators; none of them may lead a write
// outside the chosen folder.

#include "base/Error.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace larkspan {

// The path a UTF-8 name stands for. A plain string would be read in the
// system's code page on Windows, which garbles any name beyond ASCII.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// Nothing when the component may be a file or folder name of its own;
// otherwise why not (EmptyComponent, CurrentFolder, ParentFolder,
// Separator, NulByte, or on Windows NotInWindowsName).
std::optional<ErrorCode> componentRefusal(std::string_view component);

inline bool isSafePathComponent(std::string_view component)
{
    return !componentRefusal(component).has_value();
}

// The relative file-system path for an entry's full name ("/" between
// components, UTF-8), or why a component is unsafe.
Result<std::filesystem::path> relativePathForEntry(std::string_view entryPath);

// The same for a name already split into components (a tree node's path).
Result<std::filesystem::path> relativePathForComponents(std::span<const std::string> components);

} // namespace larkspan
