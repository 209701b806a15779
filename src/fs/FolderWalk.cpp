#include "fs/FolderWalk.h"

#include "base/Latin1.h"

#include <algorithm>
#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

std::string utf8Name(const fs::path& path)
{
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

class Walker {
public:
    std::optional<WalkedItem> walk(const fs::path& path)
    {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (status.type() == fs::file_type::not_found)
            return report(path, WalkProblem::Missing, {});
        if (error)
            return report(path, WalkProblem::Unreadable, error.message());

        WalkedItem item;
        item.path = path;
        item.name = utf8Name(path);
        item.latin1Name = utf8ToLatin1(item.name).has_value();
        if (fs::is_regular_file(status)) {
            item.size = fs::file_size(path, error);
            if (error)
                return report(path, WalkProblem::Unreadable, error.message());
            return item;
        }
        if (!fs::is_directory(status))
            return report(path, WalkProblem::SpecialFile, {});

        item.kind = WalkedKind::Folder;
        const fs::path real = fs::canonical(path, error);
        if (!error && std::find(chain_.begin(), chain_.end(), real) != chain_.end())
            return report(path, WalkProblem::LinkLoop, {});
        chain_.push_back(error ? fs::path() : real);
        const bool listed = walkEntries(item);
        chain_.pop_back();
        if (!listed)
            return std::nullopt;
        return item;
    }

    std::vector<WalkReport> reports() { return std::move(reports_); }

private:
    bool walkEntries(WalkedItem& folder)
    {
        std::vector<WalkedItem> files;
        std::vector<WalkedItem> subfolders;
        std::error_code error;
        fs::directory_iterator children(folder.path, error);
        for (; !error && children != fs::directory_iterator(); children.increment(error)) {
            if (std::optional<WalkedItem> child = walk(children->path()))
                (child->kind == WalkedKind::File ? files : subfolders).push_back(std::move(*child));
        }
        if (error) {
            report(folder.path, WalkProblem::Unreadable, error.message());
            return false;
        }
        const auto byName = [](const WalkedItem& a, const WalkedItem& b) { return a.name < b.name; };
        std::sort(files.begin(), files.end(), byName);
        std::sort(subfolders.begin(), subfolders.end(), byName);
        folder.entries = std::move(files);
        std::move(subfolders.begin(), subfolders.end(), std::back_inserter(folder.entries));
        return true;
    }

    std::nullopt_t report(const fs::path& path, WalkProblem problem, std::string reason)
    {
        reports_.push_back({path, problem, std::move(reason)});
        return std::nullopt;
    }

    std::vector<fs::path> chain_; // the folders being walked, outermost first
    std::vector<WalkReport> reports_;
};

} // namespace

FolderWalk walkFolder(const fs::path& path)
{
    const fs::path named = path.has_filename() ? path : path.parent_path();
    std::error_code error;
    if (fs::status(named, error).type() == fs::file_type::not_found)
        return {};
    Walker walker;
    std::optional<WalkedItem> top = walker.walk(named);
    return {std::move(top), walker.reports()};
}

} // namespace larkspan
