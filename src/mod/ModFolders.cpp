#include "mod/ModFolders.h"

#include "base/StringAdditions.h"
#include "fs/FolderWalk.h"

#include <algorithm>
#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

void collectArchives(const WalkedItem& item, const fs::path& archivesFolder, std::vector<ModArchiveFile>& found)
{
    if (item.kind == WalkedKind::Folder) {
        for (const WalkedItem& entry : item.entries)
            collectArchives(entry, archivesFolder, found);
        return;
    }
    if (foldedCopy(item.name).ends_with(".rfa"))
        found.push_back({item.path, genericUtf8(item.path.lexically_relative(archivesFolder))});
}

} // namespace

std::string genericUtf8(const fs::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::optional<fs::path> findIgnoringCase(const fs::path& folder, std::string_view name, EntryType type)
{
    std::optional<fs::path> found;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path& path = entries->path();
        const std::u8string entryName = path.filename().u8string();
        if (!isCaseInsensitiveEqual(std::string(entryName.begin(), entryName.end()), name))
            continue;
        std::error_code statusError;
        const bool isFolder = fs::is_directory(path, statusError);
        if (isFolder != (type == EntryType::Folder) || (!isFolder && !fs::is_regular_file(path, statusError)))
            continue;
        if (!found || path.filename() < found->filename())
            found = path;
    }
    return found;
}

ModArchiveFiles findModArchives(const fs::path& modFolder)
{
    ModArchiveFiles result;
    const std::optional<fs::path> archivesFolder = findIgnoringCase(modFolder, "Archives", EntryType::Folder);
    if (!archivesFolder)
        return result;
    const FolderWalk walk = walkFolder(*archivesFolder);
    if (walk.top)
        collectArchives(*walk.top, *archivesFolder, result.archives);
    for (const WalkReport& report : walk.reports)
        if (report.problem == WalkProblem::Unreadable)
            result.unreadable.push_back(Error{ErrorCode::CannotRead, report.path.string()});
    std::sort(result.archives.begin(), result.archives.end(),
              [](const ModArchiveFile& a, const ModArchiveFile& b) { return a.relativePath < b.relativePath; });
    return result;
}

} // namespace larkspan
