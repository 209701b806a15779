#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/EntrySelection.h"
#include "cli/Progress.h"
#include "fs/FileIO.h"
#include "fs/FolderWriter.h"
#include "fs/SafePath.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

struct ExtractOptions {
    std::string archive;
    std::string folder = ".";
    bool force = false;
    std::vector<std::string> paths;
};

// The components of a stored name, split at every "/" (the writer refuses
// the empty ones a leading, doubled or trailing "/" leaves).
std::vector<std::string> componentsOf(const std::string& name)
{
    std::vector<std::string> components;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        components.push_back(name.substr(start, end - start));
        if (end == name.size())
            return components;
        start = end + 1;
    }
}

// Writes the entries of one archive below one folder, never outside it.
class Extraction {
public:
    Extraction(const ArchiveFile& archive, const ExtractOptions& options)
        : archive_(archive), options_(options), writer_(pathFromUtf8(options.folder))
    {
    }

    // False when the entry could not be written where it belongs. An
    // existing file that is kept is not a failure.
    bool extract(const EntryRecord& record)
    {
        if (const Result<fs::path> unsafe = relativePathForEntry(record.name); !unsafe)
            return fail(record, "skipped: " + reasonText(unsafe.error()));
        const std::vector<std::string> components = componentsOf(record.name);
        const WriteResult probe = writer_.probeFile(components);
        if (probe.status == WriteStatus::Failed)
            return fail(record, "not written: " + describe(*probe.error).text);
        if (probe.status == WriteStatus::Exists && !options_.force) {
            report(record,
                   written_.contains(record.name)
                       ? "kept the file an earlier entry of the same path wrote "
                         "(--force replaces it)"
                       : "kept the existing file " + probe.path.string() + " (--force replaces it)");
            return true;
        }

        const Result<SharedBytes> content = entryContent(record);
        if (!content)
            return fail(record, reasonText(content.error()));
        const WriteResult result = writer_.writeFile(components, **content, true);
        if (result.status == WriteStatus::Failed)
            return fail(record, "not written: " + describe(*result.error).text);
        written_.insert(record.name);
        return true;
    }

private:
    void report(const EntryRecord& record, const std::string& message) const
    {
        reportEntryProblem(archive_.path, record.name, message);
    }

    bool fail(const EntryRecord& record, const std::string& message) const
    {
        report(record, message);
        return false;
    }

    const ArchiveFile& archive_;
    const ExtractOptions& options_;
    const FolderWriter writer_;
    std::set<std::string> written_;
};

bool makeDestination(const std::string& given)
{
    const fs::path folder = pathFromUtf8(given);
    std::error_code error;
    if (fs::is_directory(fs::status(folder, error)))
        return true;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(fs::status(folder, error))) {
        reportProblem(given, "cannot make the destination folder: " +
                                  (error ? error.message() : std::string("a file is in the way")));
        return false;
    }
    return true;
}

ExitCode runExtract(const ExtractOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive || !makeDestination(options.folder))
        return ExitCode::Failure;
    EntrySelection selection(options.paths);
    Extraction extraction(*archive, options);
    ProgressLine progress("extracting " + archive->path);
    bool allWritten = true;
    RecordReader records(*archive);
    while (const std::optional<EntryRecord> record = records.next()) {
        if (selection.selects(record->name) && !extraction.extract(*record))
            allWritten = false;
        progress.update(records.recordsRead(), archive->header.entryCount);
    }
    for (const std::string& path : selection.unmatchedPaths()) {
        reportEntryProblem(archive->path, path, "no such entry in the archive");
        allWritten = false;
    }
    if (!syncFileSystemOf(pathFromUtf8(options.folder))) {
        reportProblem(options.folder, "the extracted files could not be flushed to disk");
        allWritten = false;
    }
    return allWritten && !records.failed() ? ExitCode::Success : ExitCode::Failure;
}

} // namespace

Command addExtractCommand(CLI::App& app)
{
    auto options = std::make_shared<ExtractOptions>();
    CLI::App* extract = addSubcommand(
        app, "extract", "Write entries to disk, never outside the chosen folder",
        "Writes every entry, or those at or under the given paths, below the folder.\n"
        "Nothing is ever written outside that folder: an entry whose name starts with\n"
        "\"/\" or has a \"..\" component (also between backslashes, as Windows reads it), a\n"
        "\".\" or an empty component, or a backslash, is reported and skipped, and so is\n"
        "one that would be written through a symbolic link below the folder (the folder\n"
        "itself may be a link).\n"
        "Existing files are kept and reported unless --force is given; a file never\n"
        "replaces a folder or the other way round. An archive that holds a path twice\n"
        "writes it once (the second entry replaces the first with --force).");
    extract->add_option("ARCHIVE", options->archive, "The archive to read")->required();
    extract->add_option("PATH", options->paths,
                        "Entries to extract, by full path (bf1942/levels/Berlin/Init.con) or by "
                        "folder (bf1942/levels/Berlin)");
    extract->add_option("-C,--directory", options->folder,
                        "The folder to write into (made if missing; default: the current folder)");
    extract->add_flag("-f,--force", options->force, "Replace existing files");
    return {extract, [options] { return runExtract(*options); }};
}

} // namespace larkspan::cli
