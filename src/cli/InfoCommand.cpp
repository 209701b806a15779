#include "format/EntryPath.h"
#include "base/CountedNoun.h"
#include "base/StringAdditions.h"
#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/CompressOption.h"
#include "cli/Diagnostics.h"
#include "cli/SizeText.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace larkspan::cli {

namespace {

struct InfoOptions {
    std::string archive;
};

struct TopLevelFolder {
    std::string name;
    std::uint64_t entries = 0;
};

struct Summary {
    std::uint64_t entries = 0;
    std::uint64_t compressed = 0;
    std::uint64_t totalSize = 0;
    std::uint64_t storedSize = 0;
    std::uint64_t topLevelFiles = 0;
    std::vector<TopLevelFolder> folders; // in order of first appearance
};

void add(Summary& summary, const EntryRecord& record)
{
    ++summary.entries;
    summary.compressed += record.compressed ? 1 : 0;
    summary.totalSize += contentSize(record);
    summary.storedSize += record.storedSize;
    const std::vector<std::string> components = splitEntryPath(record.name);
    if (components.size() == 1) {
        ++summary.topLevelFiles;
        return;
    }
    auto folder =
        std::find_if(summary.folders.begin(), summary.folders.end(),
                     [&](const TopLevelFolder& f) { return f.name == components.front(); });
    if (folder == summary.folders.end())
        folder = summary.folders.insert(summary.folders.end(), {components.front(), 0});
    ++folder->entries;
}

// The shown size, with the exact count beside it where the shown one is rounded.
std::string sizeText(std::uint64_t bytes)
{
    const std::string shown = shownSize(bytes);
    const std::string exact = countedNoun(bytes, "byte", "bytes");
    return isCaseInsensitiveEqual(shown, exact) ? shown : shown + " (" + exact + ")";
}

std::string foldersText(const std::vector<TopLevelFolder>& folders)
{
    if (folders.empty())
        return "none";
    std::string text;
    for (const TopLevelFolder& folder : folders) {
        if (!text.empty())
            text += ", ";
        text += displayName(folder.name) + " (" + countedNoun(folder.entries, "entry", "entries") + ")";
    }
    return text;
}

void printSummary(const ArchiveFile& archive, const Summary& summary)
{
    const bool identified = archive.header.layout == ArchiveLayout::Identified;
    std::printf("Archive:            %s\n", archive.path.c_str());
    std::printf("Layout:             %s\n",
                identified ? "identified (\"Refractor2 FlatArchive 1.1\" header)" : "plain");
    std::printf("Compression flag:   %u (%s)\n", archive.header.compressionFlag,
                archive.header.compressionFlag == 0 ? "no entry is compressed"
                                                    : "entries whose stored size differs from "
                                                      "their size are compressed");
    std::printf("Entries:            %llu (%llu compressed, %llu raw)\n",
                static_cast<unsigned long long>(summary.entries),
                static_cast<unsigned long long>(summary.compressed),
                static_cast<unsigned long long>(summary.entries - summary.compressed));
    std::printf("Total size:         %s\n", sizeText(summary.totalSize).c_str());
    std::printf("Stored size:        %s\n", sizeText(summary.storedSize).c_str());
    std::printf("Form:               %s\n",
                formText(summary.compressed > 0, summary.storedSize, summary.totalSize).c_str());
    std::printf("Top-level folders:  %s\n", foldersText(summary.folders).c_str());
    if (summary.topLevelFiles > 0)
        std::printf("Top-level files:    %llu\n",
                    static_cast<unsigned long long>(summary.topLevelFiles));
}

ExitCode runInfo(const InfoOptions& options)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(options.archive);
    if (!archive)
        return ExitCode::Failure;
    Summary summary;
    RecordReader records(*archive);
    while (const std::optional<EntryRecord> record = records.next())
        add(summary, *record);
    if (records.failed())
        return ExitCode::Failure;
    printSummary(*archive, summary);
    return ExitCode::Success;
}

} // namespace

Command addInfoCommand(CLI::App& app)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App* info = addSubcommand(
        app, "info", "Describe an archive: layout, sizes, top-level folders",
        "Shows the header layout, the compression flag, the entry count, the total and\n"
        "stored sizes, the form (compressed when any entry is) with the stored bytes\n"
        "over the content's, and the top-level folders. Reads the directory; only an entry of a\n"
        "compressed archive whose stored size equals its size is decoded, to tell whether\n"
        "it is compressed or raw.");
    info->add_option("ARCHIVE", options->archive, "The archive to describe")->required();
    return {info, [options] { return runInfo(*options); }};
}

} // namespace larkspan::cli
