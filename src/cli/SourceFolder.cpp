#include "cli/SourceFolder.h"

#include "model/RFAArchive.h"
#include "cli/Diagnostics.h"
#include "fs/FolderWalk.h"

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

// What a report of the walk means for a pack: true when it must stop it.
bool reportWalkProblem(const WalkReport& report)
{
    const std::string path = report.path.string();
    switch (report.problem) {
    case WalkProblem::Unreadable:
        reportProblem(path, "cannot be read: " + report.reason);
        return true;
    case WalkProblem::Missing:
        reportProblem(path, "warning: link that leads nowhere left out");
        return false;
    case WalkProblem::LinkLoop:
        reportProblem(path, "warning: link to a folder it lies in left out (it would never end)");
        return false;
    case WalkProblem::SpecialFile:
        reportProblem(path, "warning: neither a file nor a folder; left out");
        return false;
    }
    return true;
}

class SourceList {
public:
    SourceList(const fs::path& excluded, std::size_t prefixDepth)
        : excluded_(excluded), prefixDepth_(prefixDepth)
    {
    }

    void addFolder(const WalkedItem& folder, std::vector<std::string>& components)
    {
        std::size_t kept = 0;
        for (const WalkedItem& entry : folder.entries) {
            if (!acceptName(entry) || isExcluded(entry))
                continue;
            ++kept;
            components.push_back(entry.name);
            if (entry.kind == WalkedKind::Folder)
                addFolder(entry, components);
            else
                addFile(entry, components);
            components.pop_back();
        }
        if (kept == 0)
            reportProblem(folder.path.string(),
                          "warning: empty folder left out (an archive cannot hold one)");
    }

    void fail() { failed_ = true; }

    std::optional<std::vector<SourceFile>> result()
    {
        if (failed_)
            return std::nullopt;
        return std::move(files_);
    }

private:
    bool acceptName(const WalkedItem& item)
    {
        if (item.name.find('\\') != std::string::npos) {
            reportProblem(item.path.string(),
                          "the name holds a backslash, which the game reads as a folder "
                          "separator; rename it");
            failed_ = true;
            return false;
        }
        // Left out, as the editor's Add Files does: the same folder makes the same archive.
        if (!item.latin1Name) {
            reportProblem(item.path.string(),
                          "warning: the name has characters beyond Latin-1, which an archive "
                          "cannot hold; left out");
            return false;
        }
        return true;
    }

    bool isExcluded(const WalkedItem& item) const
    {
        std::error_code error;
        return item.kind == WalkedKind::File && item.path.filename() == excluded_.filename() &&
               fs::equivalent(item.path, excluded_, error);
    }

    void addFile(const WalkedItem& file, const std::vector<std::string>& components)
    {
        if (prefixDepth_ + components.size() > kMaxEntryDepth) {
            reportProblem(file.path.string(), "lies deeper than " + std::to_string(kMaxEntryDepth) +
                                                  " folders, more than an archive reader accepts");
            failed_ = true;
            return;
        }
        files_.push_back({file.path, components, file.size});
    }

    const fs::path excluded_;
    const std::size_t prefixDepth_;
    std::vector<SourceFile> files_;
    bool failed_ = false;
};

} // namespace

std::optional<std::vector<SourceFile>>
scanSourceFolder(const fs::path& folder, const fs::path& excluded, std::size_t prefixDepth)
{
    const FolderWalk walk = walkFolder(folder);
    SourceList list(excluded, prefixDepth);
    for (const WalkReport& report : walk.reports)
        if (reportWalkProblem(report))
            list.fail();
    if (!walk.top || walk.top->kind != WalkedKind::Folder) {
        if (walk.reports.empty())
            reportProblem(folder.string(), "not a folder");
        return std::nullopt;
    }
    std::vector<std::string> components;
    list.addFolder(*walk.top, components);
    return list.result();
}

} // namespace larkspan::cli
