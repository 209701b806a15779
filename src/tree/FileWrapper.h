#pragma once

#include "tree/Bytes.h"
#include "tree/FileIO.h"
#include "tree/SafePath.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace larkspan {

// A file tree described in memory, ready to be written out: the export form
// of a node and its subtree. Bytes are shared with the nodes, not copied.
struct FileWrapper {
    std::string preferredFilename;
    SharedBytes contents;                       // set for a regular file
    std::map<std::string, FileWrapper> entries; // a folder's entries by name

    bool isDirectory() const { return contents == nullptr; }
};

struct SkippedName {
    std::filesystem::path folder; // where it would have gone
    std::string name;
    PathRefusal refusal;
};

struct WriteOutResult {
    std::vector<std::filesystem::path> writtenFiles; // in the order written (pre-order), failures left out
    std::vector<SkippedName> skipped;                // names that would leave their folder
    std::vector<FileError> failures;                 // files or folders that could not be made
};

// Writes the wrapper into `destinationFolder` under its preferred name.
// Files go to disk atomically and replace existing files, and are flushed
// together once all are written; a folder is made
// where nothing exists yet, and an existing folder is written into. A name
// that is empty, "." or "..", or holds a separator, is skipped with
// everything below it: nothing is ever written outside the destination.
// Failures are collected and the rest is still written.
WriteOutResult writeFileWrapper(const FileWrapper& wrapper, const std::filesystem::path& destinationFolder);

} // namespace larkspan
