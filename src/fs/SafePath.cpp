#include "fs/SafePath.h"

#include "fs/NativeFiles.h"

#include <algorithm>
#include <vector>

namespace larkspan {

namespace {

bool startsAtRoot(std::string_view name)
{
    return name.starts_with('/') || name.starts_with('\\');
}

// Joins the components, or names the first refusal among them.
template <typename Components>
Result<std::filesystem::path> joinSafely(const Components& components)
{
    std::filesystem::path path;
    for (std::string_view component : components) {
        if (const std::optional<ErrorCode> refusal = componentRefusal(component))
            return Error{*refusal};
        path /= pathFromUtf8(component);
    }
    return path;
}

} // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<ErrorCode> componentRefusal(std::string_view component)
{
    if (component.empty())
        return ErrorCode::EmptyComponent;
    if (component.find('\0') != std::string_view::npos)
        return ErrorCode::NulByte;
    if (component == ".")
        return ErrorCode::CurrentFolder;
    if (component == "..")
        return ErrorCode::ParentFolder;
    if (component.find('/') != std::string_view::npos)
        return ErrorCode::Separator;
    if (component.find_first_of(native::kNotInFileNames) != std::string_view::npos)
        return ErrorCode::NotInWindowsName;
    if (component.find('\\') == std::string_view::npos)
        return std::nullopt;
    // Where a backslash separates folders, "a\..\b" climbs like "a/../b".
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(component.find('\\', start), component.size());
        if (component.substr(start, end - start) == "..")
            return ErrorCode::ParentFolder;
        if (end == component.size())
            return ErrorCode::Separator;
        start = end + 1;
    }
}

Result<std::filesystem::path> relativePathForEntry(std::string_view entryPath)
{
    if (entryPath.empty())
        return Error{ErrorCode::EmptyName};
    if (startsAtRoot(entryPath))
        return Error{ErrorCode::AbsoluteName};
    std::vector<std::string_view> components;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(entryPath.find('/', start), entryPath.size());
        components.push_back(entryPath.substr(start, end - start));
        if (end == entryPath.size())
            break;
        start = end + 1;
    }
    return joinSafely(components);
}

Result<std::filesystem::path> relativePathForComponents(std::span<const std::string> components)
{
    if (components.empty())
        return Error{ErrorCode::EmptyName};
    if (startsAtRoot(components.front()))
        return Error{ErrorCode::AbsoluteName};
    return joinSafely(components);
}

} // namespace larkspan
