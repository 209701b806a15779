#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/EntrySelection.h"
#include "cli/FolderExtraction.h"
#include "cli/Progress.h"

#include <memory>

namespace larkspan::cli {

namespace {

struct ExtractOptions {
    std::string archive;
    std::string folder = ".";
    bool force = false;
    std::vector<std::string> paths;
};

ExitCode runExtract(const ExtractOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive || !makeDestination(options.folder))
        return ExitCode::Failure;
    EntrySelection selection(options.paths);
    std::vector<EntryRecord> records;
    std::vector<ExtractionEntry> entries;
    RecordReader reader(*archive);
    while (std::optional<EntryRecord> record = reader.next()) {
        if (selection.selects(record->name)) {
            entries.push_back({archive->path, record->name});
            records.push_back(std::move(*record));
        }
    }
    FolderExtraction extraction(options.folder, options.force);
    ProgressLine progress("extracting " + archive->path);
    bool allWritten = extraction.extract(
        entries, [&](std::size_t index) { return entryContent(records[index]); },
        [&](std::size_t index) { progress.update(index + 1, entries.size()); });
    for (const std::string& path : selection.unmatchedPaths()) {
        reportEntryProblem(archive->path, path, "no such entry in the archive");
        allWritten = false;
    }
    if (!extraction.flushReplaced())
        allWritten = false;
    return allWritten && !reader.failed() ? ExitCode::Success : ExitCode::Failure;
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
