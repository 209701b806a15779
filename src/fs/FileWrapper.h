#pragma once

#include "base/Bytes.h"
#include "fs/FolderWriter.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
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

// One file or folder that writing a wrapper makes, below the folder it is
// written into.
struct WriteOutItem {
    std::vector<std::string> components; // the wrapper's own name first
    SharedBytes contents;                // null for a folder
};

// What a wrapper makes, each folder before what it holds.
std::vector<WriteOutItem> writeOutItems(const FileWrapper& wrapper);

// What to do about a file that is already where an item goes.
enum class ExistingFiles { Replace, Keep, Ask };

struct WriteOutProblem {
    std::vector<std::string> components; // the item's, or none for the final flush
    Error error;
};

// Writing items into a folder one after another, so that a question about
// an existing file can be asked between two of them. An item refused or
// failed leaves out everything below it; the rest is still written.
class WriteOut {
public:
    WriteOut(std::vector<WriteOutItem> items, const std::filesystem::path& folder, DiskCalls& disk = realDisk());

    // Writes on until every item is done, or, when existing files are to be
    // asked about, until one meets such a file: true when done.
    bool run(ExistingFiles existing);
    // The item that met an existing file: it is the one that run() stopped at.
    const WriteOutItem& pending() const { return items_[next_]; }
    // Answers for the pending item: write it over the file, or leave both.
    void replacePending();
    void keepPending();
    // Items still to do, the pending one included.
    std::size_t remaining() const { return items_.size() - next_; }

    // The files written (in the order written), the files kept, and what
    // could not be written. Folders are never listed as written.
    const std::vector<std::filesystem::path>& written() const { return written_; }
    const std::vector<std::filesystem::path>& kept() const { return kept_; }
    const std::vector<WriteOutProblem>& problems() const { return problems_; }
    // Flushes the files written over existing ones to disk together (new
    // files put nothing the user had at stake); false, with a problem
    // noted, when that fails.
    bool flush();

private:
    void write(const WriteOutItem& item, bool replace);
    bool isBelowProblem(const WriteOutItem& item) const;

    std::vector<WriteOutItem> items_;
    std::size_t next_ = 0;
    FolderWriter writer_;
    std::vector<std::filesystem::path> written_;
    std::vector<std::filesystem::path> kept_;
    std::vector<WriteOutProblem> problems_;
    bool replacedAny_ = false;
};

// Writes the wrapper into the folder under its preferred name at once,
// replacing existing files, which are flushed to disk at the end.
WriteOut writeFileWrapper(const FileWrapper& wrapper, const std::filesystem::path& destinationFolder,
                          DiskCalls& disk = realDisk());

} // namespace larkspan
