#include "cli/SourceFolder.h"

#include "model/RFAArchive.h"
#include "cli/Diagnostics.h"
#include "base/Latin1.h"

#include <algorithm>

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

std::string utf8Name(const fs::path& path)
{
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

class SourceScan {
public:
    SourceScan(const fs::path& excluded, std::size_t prefixDepth)
        : excluded_(excluded), prefixDepth_(prefixDepth)
    {
    }

    void scan(const fs::path& folder, std::vector<std::string>& components)
    {
        std::vector<fs::path> files;
        std::vector<fs::path> subfolders;
        if (!collect(folder, files, subfolders))
            return;
        if (files.empty() && subfolders.empty())
            reportProblem(folder.string(),
                          "warning: empty folder left out (an archive cannot hold one)");
        for (const fs::path& file : files)
            addFile(file, components);
        for (const fs::path& subfolder : subfolders) {
            components.push_back(utf8Name(subfolder));
            scan(subfolder, components);
            components.pop_back();
        }
    }

    std::optional<std::vector<SourceFile>> result()
    {
        if (failed_)
            return std::nullopt;
        return std::move(files_);
    }

private:
    // Sorts the folder's children into files and subfolders, by name.
    bool collect(const fs::path& folder, std::vector<fs::path>& files,
                 std::vector<fs::path>& subfolders)
    {
        std::error_code error;
        fs::directory_iterator children(folder, error);
        for (; !error && children != fs::directory_iterator(); children.increment(error)) {
            const fs::path& path = children->path();
            if (!acceptName(path))
                continue;
            classify(path, files, subfolders);
        }
        if (error) {
            reportProblem(folder.string(), "cannot be read: " + error.message());
            failed_ = true;
            return false;
        }
        const auto byName = [](const fs::path& a, const fs::path& b) {
            return utf8Name(a) < utf8Name(b);
        };
        std::sort(files.begin(), files.end(), byName);
        std::sort(subfolders.begin(), subfolders.end(), byName);
        return true;
    }

    void classify(const fs::path& path, std::vector<fs::path>& files,
                  std::vector<fs::path>& subfolders)
    {
        std::error_code statusError;
        std::error_code linkError;
        const fs::file_status status = fs::status(path, statusError);
        const bool isLink = fs::is_symlink(fs::symlink_status(path, linkError));
        if (fs::is_regular_file(status)) {
            if (!isExcluded(path))
                files.push_back(path);
        } else if (fs::is_directory(status) && !isLink) {
            subfolders.push_back(path);
        } else if (fs::is_directory(status)) {
            reportProblem(path.string(), "warning: link to a folder left out");
        } else if (status.type() == fs::file_type::not_found) {
            reportProblem(path.string(), "warning: link that leads nowhere left out");
        } else if (status.type() == fs::file_type::none) {
            reportProblem(path.string(), "cannot be read: " + statusError.message());
            failed_ = true;
        } else {
            reportProblem(path.string(), "warning: neither a file nor a folder; left out");
        }
    }

    bool acceptName(const fs::path& path)
    {
        const std::string name = utf8Name(path);
        if (name.find('\\') != std::string::npos) {
            reportProblem(path.string(),
                          "the name holds a backslash, which the game reads as a folder "
                          "separator; rename it");
            failed_ = true;
            return false;
        }
        if (!utf8ToLatin1(name))
            reportProblem(path.string(),
                          "warning: the name has characters beyond Latin-1; the archive "
                          "stores \"?\" for each");
        return true;
    }

    bool isExcluded(const fs::path& path) const
    {
        std::error_code error;
        return path.filename() == excluded_.filename() && fs::equivalent(path, excluded_, error);
    }

    void addFile(const fs::path& path, const std::vector<std::string>& folderComponents)
    {
        if (prefixDepth_ + folderComponents.size() + 1 > kMaxEntryDepth) {
            reportProblem(path.string(), "lies deeper than " + std::to_string(kMaxEntryDepth) +
                                             " folders, more than an archive reader accepts");
            failed_ = true;
            return;
        }
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path, error);
        if (error) {
            reportProblem(path.string(), "cannot be read: " + error.message());
            failed_ = true;
            return;
        }
        std::vector<std::string> components = folderComponents;
        components.push_back(utf8Name(path));
        files_.push_back({path, std::move(components), size});
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
    SourceScan scan(excluded, prefixDepth);
    std::vector<std::string> components;
    scan.scan(folder, components);
    return scan.result();
}

} // namespace larkspan::cli
