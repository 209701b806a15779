#pragma once

#include "model/RFATreeNode.h"

#include <filesystem>
#include <vector>

namespace larkspan {

enum class ImportProblem {
    Unreadable,    // exists but could not be read, or a folder that could not be listed
    Missing,       // listed, but gone when read, or a link to nothing
    LinkLoop,      // a link to a folder the import is already inside
    SpecialFile,   // neither a regular file nor a folder: a pipe, socket or device
    UnstorableName, // a name with characters beyond Latin-1, which an archive cannot store
};

struct SkippedImport {
    std::filesystem::path path;
    ImportProblem problem;
};

// A new, unattached subtree from a file or folder on disk, walked as
// walkFolder walks it (links followed, files before subfolders, each sorted
// by name), taking the parent's undo history and hub but not inserted into
// it. Every entry of a folder, hidden ones included. Null when the path does
// not exist. What could not be taken is left out and reported in `skipped`:
// a node never stands for a file whose bytes could not be read. The name of
// `path` itself is the caller's to judge.
RFATreeNode::Ptr nodeFromFile(const std::filesystem::path& path, const RFATreeNode::Ptr& parent,
                              std::vector<SkippedImport>* skipped = nullptr);

} // namespace larkspan
