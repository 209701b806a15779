#include "model/FileSystemImport.h"

#include "fs/FileIO.h"
#include "fs/FolderWalk.h"

namespace larkspan {

namespace {

ImportProblem importProblem(WalkProblem problem)
{
    switch (problem) {
    case WalkProblem::Unreadable: return ImportProblem::Unreadable;
    case WalkProblem::Missing: return ImportProblem::Missing;
    case WalkProblem::LinkLoop: return ImportProblem::LinkLoop;
    case WalkProblem::SpecialFile: return ImportProblem::SpecialFile;
    }
    return ImportProblem::Unreadable;
}

class Importer {
public:
    explicit Importer(std::vector<SkippedImport>* skipped) : skipped_(skipped) {}

    RFATreeNode::Ptr import(const WalkedItem& item, const RFATreeNode::Ptr& parent)
    {
        if (item.kind == WalkedKind::File) {
            Result<Bytes> bytes = readWholeFile(item.path);
            if (!bytes) {
                skip(item.path, ImportProblem::Unreadable);
                return nullptr;
            }
            return RFATreeNode::initWithData(makeSharedBytes(std::move(*bytes)), item.name, parent);
        }
        RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(item.name, parent);
        for (const WalkedItem& entry : item.entries) {
            if (!entry.latin1Name)
                skip(entry.path, ImportProblem::UnstorableName);
            else if (RFATreeNode::Ptr child = import(entry, folder))
                folder->appendChild(child);
        }
        return folder;
    }

    void skip(const std::filesystem::path& path, ImportProblem problem)
    {
        if (skipped_)
            skipped_->push_back({path, problem});
    }

private:
    std::vector<SkippedImport>* skipped_;
};

} // namespace

RFATreeNode::Ptr nodeFromFile(const std::filesystem::path& path, const RFATreeNode::Ptr& parent,
                              std::vector<SkippedImport>* skipped)
{
    const FolderWalk walk = walkFolder(path);
    Importer importer(skipped);
    for (const WalkReport& report : walk.reports)
        importer.skip(report.path, importProblem(report.problem));
    return walk.top ? importer.import(*walk.top, parent) : nullptr;
}

} // namespace larkspan
