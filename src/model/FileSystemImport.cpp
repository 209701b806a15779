#include "model/FileSystemImport.h"

#include "fs/FileIO.h"
#include "base/Latin1.h"

#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

class Importer {
public:
    explicit Importer(std::vector<SkippedImport>* skipped) : skipped_(skipped) {}

    RFATreeNode::Ptr import(const fs::path& path, const RFATreeNode::Ptr& parent, bool listed)
    {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) {
            if (listed)
                skip(path, ImportProblem::Missing);
            return nullptr;
        }
        const std::string name = path.filename().string();
        if (listed && !utf8ToLatin1(name)) {
            skip(path, ImportProblem::UnstorableName);
            return nullptr;
        }
        if (!fs::is_directory(status) && !fs::is_regular_file(status)) {
            // Reading a pipe or a device could block for ever or never end.
            skip(path, ImportProblem::SpecialFile);
            return nullptr;
        }
        if (!fs::is_directory(status)) {
            std::optional<Bytes> bytes = readWholeFile(path);
            if (!bytes) {
                skip(path, ImportProblem::Unreadable);
                return nullptr;
            }
            return RFATreeNode::initWithData(makeSharedBytes(std::move(*bytes)), name, parent);
        }

        const fs::path real = fs::canonical(path, error);
        for (const fs::path& enclosing : chain_) {
            if (!error && real == enclosing) {
                skip(path, ImportProblem::LinkLoop);
                return nullptr;
            }
        }
        RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(name, parent);
        chain_.push_back(real);
        fs::directory_iterator entries(path, error);
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            if (RFATreeNode::Ptr child = import(entries->path(), folder, true))
                folder->appendChild(child);
        }
        if (error)
            skip(path, ImportProblem::Unreadable);
        chain_.pop_back();
        return folder;
    }

private:
    void skip(const fs::path& path, ImportProblem problem)
    {
        if (skipped_)
            skipped_->push_back({path, problem});
    }

    std::vector<SkippedImport>* skipped_;
    std::vector<fs::path> chain_; // the folders being imported, outermost first
};

} // namespace

RFATreeNode::Ptr nodeFromFile(const fs::path& path, const RFATreeNode::Ptr& parent,
                              std::vector<SkippedImport>* skipped)
{
    // "folder/" names the folder itself.
    const fs::path named = path.has_filename() ? path : path.parent_path();
    return Importer(skipped).import(named, parent, false);
}

} // namespace larkspan
