#include "fs/SafePath.h"

#include <algorithm>
#include <vector>

namespace larkspan {

namespace {

std::string messageFor(PathRefusal refusal)
{
    switch (refusal) {
    case PathRefusal::Empty:
        return "the name is empty";
    case PathRefusal::Absolute:
        return "the name starts at the file-system root";
    case PathRefusal::EmptyComponent:
        return "the name has an empty component (\"//\" or a trailing \"/\")";
    case PathRefusal::CurrentFolder:
        return "the name has a \".\" component";
    case PathRefusal::ParentFolder:
        return "the name has a \"..\" component, which would climb out of the folder";
    case PathRefusal::Separator:
        return "a component holds a separator (a backslash separates folders on Windows)";
    case PathRefusal::NulByte:
        return "the name holds a zero byte";
    }
    return {};
}

std::nullopt_t refuse(PathRefusal refusal, SafePathError* error)
{
    if (error)
        *error = {refusal, messageFor(refusal)};
    return std::nullopt;
}

bool startsAtRoot(std::string_view name)
{
    return name.starts_with('/') || name.starts_with('\\');
}

std::filesystem::path utf8Path(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Joins the components, or names the first refusal among them.
template <typename Components>
std::optional<std::filesystem::path> joinSafely(const Components& components, SafePathError* error)
{
    std::filesystem::path path;
    for (std::string_view component : components) {
        if (const std::optional<PathRefusal> refusal = componentRefusal(component))
            return refuse(*refusal, error);
        path /= utf8Path(component);
    }
    return path;
}

} // namespace

std::optional<PathRefusal> componentRefusal(std::string_view component)
{
    if (component.empty())
        return PathRefusal::EmptyComponent;
    if (component.find('\0') != std::string_view::npos)
        return PathRefusal::NulByte;
    if (component == ".")
        return PathRefusal::CurrentFolder;
    if (component == "..")
        return PathRefusal::ParentFolder;
    if (component.find('/') != std::string_view::npos)
        return PathRefusal::Separator;
    if (component.find('\\') == std::string_view::npos)
        return std::nullopt;
    // Where a backslash separates folders, "a\..\b" climbs like "a/../b".
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(component.find('\\', start), component.size());
        if (component.substr(start, end - start) == "..")
            return PathRefusal::ParentFolder;
        if (end == component.size())
            return PathRefusal::Separator;
        start = end + 1;
    }
}

std::optional<std::filesystem::path> relativePathForEntry(std::string_view entryPath,
                                                          SafePathError* error)
{
    if (entryPath.empty())
        return refuse(PathRefusal::Empty, error);
    if (startsAtRoot(entryPath))
        return refuse(PathRefusal::Absolute, error);
    std::vector<std::string_view> components;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(entryPath.find('/', start), entryPath.size());
        components.push_back(entryPath.substr(start, end - start));
        if (end == entryPath.size())
            break;
        start = end + 1;
    }
    return joinSafely(components, error);
}

std::optional<std::filesystem::path>
relativePathForComponents(std::span<const std::string> components, SafePathError* error)
{
    if (components.empty())
        return refuse(PathRefusal::Empty, error);
    if (startsAtRoot(components.front()))
        return refuse(PathRefusal::Absolute, error);
    return joinSafely(components, error);
}

} // namespace larkspan
