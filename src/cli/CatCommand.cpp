#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace larkspan::cli {

namespace {

struct CatOptions {
    std::string archive;
    std::string entry;
};

bool writeToStandardOutput(ByteSpan bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        return false;
    return std::fflush(stdout) == 0;
}

ExitCode runCat(const CatOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive)
        return ExitCode::Failure;
    const std::string folderPrefix = options.entry + "/";
    bool isFolder = false;
    RecordReader records(*archive);
    while (const std::optional<EntryRecord> record = records.next()) {
        if (record->name.starts_with(folderPrefix))
            isFolder = true;
        if (record->name != options.entry)
            continue;
        const Result<SharedBytes> content = entryContent(*record);
        if (!content) {
            reportEntryProblem(archive->path, options.entry, reasonText(content.error()));
            return ExitCode::Failure;
        }
        if (!writeToStandardOutput(**content)) {
            reportProblem("standard output", std::strerror(errno));
            return ExitCode::Failure;
        }
        return ExitCode::Success;
    }
    if (!records.failed())
        reportEntryProblem(archive->path, options.entry,
                           isFolder ? "is a folder; cat shows one file"
                                    : "no such entry in the archive");
    return ExitCode::Failure;
}

} // namespace

Command addCatCommand(CLI::App& app)
{
    auto options = std::make_shared<CatOptions>();
    CLI::App* cat =
        addSubcommand(app, "cat", "Write one entry's bytes to standard output",
                      "Only that entry is decompressed. When the archive holds the path more than\n"
                      "once, the first entry is shown.");
    cat->add_option("ARCHIVE", options->archive, "The archive to read")->required();
    cat->add_option("PATH", options->entry, "The entry's full path, as list prints it (bf1942/...)")
        ->required();
    return {cat, [options] { return runCat(*options); }};
}

} // namespace larkspan::cli
