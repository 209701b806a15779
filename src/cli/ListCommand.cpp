#include "base/CountedNoun.h"
#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/CompressOption.h"
#include "cli/Diagnostics.h"
#include "cli/SizeText.h"

#include <cstdio>
#include <memory>

namespace larkspan::cli {

namespace {

struct ListOptions {
    std::string archive;
    bool details = false;
};

void printLine(std::uint64_t size, std::uint64_t storedSize, const char* form, const std::string& name)
{
    std::printf("%10s %10s %6s  %-10s  %s\n", shownSize(size).c_str(),
                shownSize(storedSize).c_str(), ratioText(storedSize, size).c_str(), form,
                name.c_str());
}

void printRecord(const EntryRecord& record, bool details)
{
    const std::string name = displayName(record.name);
    if (!details) {
        std::printf("%s\n", name.c_str());
        return;
    }
    printLine(contentSize(record), record.storedSize, record.compressed ? "compressed" : "raw", name);
}

ExitCode runList(const ListOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive)
        return ExitCode::Failure;
    RecordReader records(*archive);
    std::uint64_t size = 0;
    std::uint64_t storedSize = 0;
    bool compressed = false;
    while (const std::optional<EntryRecord> record = records.next()) {
        printRecord(*record, options.details);
        size += contentSize(*record);
        storedSize += record->storedSize;
        compressed |= record->compressed;
    }
    if (records.failed())
        return ExitCode::Failure;
    if (options.details)
        printLine(size, storedSize, compressed ? "compressed" : "uncompressed",
                  "(" + countedNoun(records.recordsRead(), "entry", "entries") + " in all)");
    return ExitCode::Success;
}

} // namespace

Command addListCommand(CLI::App& app)
{
    auto options = std::make_shared<ListOptions>();
    CLI::App* list = addSubcommand(
        app, "list", "Print every entry's full path, in directory order",
        "Entries are printed in the order of the archive's directory, one per line;\n"
        "control characters in names are shown as \\xHH. With -l each line also shows the\n"
        "size, the stored size, their ratio (stored/size) and whether the entry is\n"
        "compressed or raw, and a last line the totals and the archive's form\n"
        "(compressed when any entry is). Only an entry of a compressed archive whose\n"
        "stored size equals its size is decoded, to tell which it is.");
    list->add_option("ARCHIVE", options->archive, "The archive to read")->required();
    list->add_flag(
        "-l,--long", options->details,
        "Also show each entry's size, its stored size, their ratio, and whether it is compressed or raw");
    return {list, [options] { return runList(*options); }};
}

} // namespace larkspan::cli
