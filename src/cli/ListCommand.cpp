#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "document/FileSizeFormatter.h"

#include <cstdio>
#include <memory>

namespace larkspan::cli {

namespace {

struct ListOptions {
    std::string archive;
    bool details = false;
};

void printRecord(const EntryRecord& record, bool details)
{
    const std::string name = displayName(record.name);
    if (!details) {
        std::printf("%s\n", name.c_str());
        return;
    }
    std::printf("%10s %10s  %-10s  %s\n",
                FileSizeFormatter::stringForNumber(contentSize(record)).c_str(),
                FileSizeFormatter::stringForNumber(record.storedSize).c_str(),
                record.compressed ? "compressed" : "raw", name.c_str());
}

ExitCode runList(const ListOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive)
        return ExitCode::Failure;
    RecordReader records(*archive);
    while (const std::optional<EntryRecord> record = records.next())
        printRecord(*record, options.details);
    return records.failed() ? ExitCode::Failure : ExitCode::Success;
}

} // namespace

Command addListCommand(CLI::App& app)
{
    auto options = std::make_shared<ListOptions>();
    CLI::App* list = addSubcommand(
        app, "list", "Print every entry's full path, in directory order",
        "Entries are printed in the order of the archive's directory, one per line;\n"
        "control characters in names are shown as \\xHH. With -l each line also shows the\n"
        "size, the stored size and whether the entry is compressed or raw. Only an entry\n"
        "of a compressed archive whose stored size equals its size is decoded, to tell\n"
        "which it is.");
    list->add_option("ARCHIVE", options->archive, "The archive to read")->required();
    list->add_flag(
        "-l,--long", options->details,
        "Also show each entry's size, its stored size, and whether it is compressed or raw");
    return {list, [options] { return runList(*options); }};
}

} // namespace larkspan::cli
