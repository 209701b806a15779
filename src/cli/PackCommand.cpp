#include "format/MagicHeader.h"
#include "base/CountedNoun.h"
#include "model/RFAArchive.h"
#include "cli/ArchiveWriting.h"
#include "cli/Commands.h"
#include "cli/CompressOption.h"
#include "cli/Diagnostics.h"
#include "cli/PackName.h"
#include "cli/Progress.h"
#include "cli/SourceFolder.h"
#include "fs/FileIO.h"
#include "fs/SafePath.h"
#include "base/Latin1.h"

#include <filesystem>
#include <memory>

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

// The writer's layout: header, magic block, data, count, records, end word.
constexpr std::uint64_t kFixedArchiveBytes = 8 + kMagicHeader.size() + 4 + 4;
constexpr std::uint64_t kRecordBytesBesideName = 4 + 12 + 12;

struct PackOptions {
    std::string source;
    std::string output;
    std::string name;
    bool nameGiven = false;
    std::string compress; // empty: uncompressed
};

std::string joined(const std::vector<std::string>& components)
{
    std::string path;
    for (const std::string& component : components)
        path += (path.empty() ? "" : "/") + component;
    return path;
}

std::optional<std::vector<std::string>> entryPrefix(const PackOptions& options)
{
    const std::string& given = options.nameGiven ? options.name : options.source;
    Result<std::vector<std::string>> prefix = packNameComponents(given);
    if (!prefix) {
        const std::string unsafe = reasonText(prefix.error());
        if (options.nameGiven)
            reportProblem("pack", "--as " + given + ": " + unsafe);
        else
            reportProblem("pack", "the entry names would begin with \"" + given + "\", and " +
                                      unsafe +
                                      "; name them with --as NAME "
                                      "(for example --as bf1942/levels/Berlin)");
        return std::nullopt;
    }
    // A name the archive cannot store would be saved as another one.
    if (!utf8ToLatin1(joined(*prefix))) {
        reportProblem("pack", "the name " + joined(*prefix) +
                                  " has characters an RFA archive cannot store (beyond Latin-1); name the "
                                  "entries with --as NAME");
        return std::nullopt;
    }
    return std::move(*prefix);
}

// The size of the archive the files make, as the writer would lay it out.
std::uint64_t archiveSize(const std::vector<SourceFile>& files, const std::string& prefix)
{
    std::uint64_t size = kFixedArchiveBytes;
    for (const SourceFile& file : files) {
        const std::uint64_t nameBytes = codePointCount(prefix + "/" + joined(file.components));
        size += file.size + kRecordBytesBesideName + nameBytes;
    }
    return size;
}

// The archive with every file's bytes below the prefix folders, or nothing
// when a file cannot be read.
std::unique_ptr<RFAArchive> assemble(const std::vector<SourceFile>& files,
                                     const std::vector<std::string>& prefix)
{
    auto archive = std::make_unique<RFAArchive>();
    const RFATreeNode::Ptr top = archive->root();
    top->setName(prefix.front());
    ProgressLine progress("reading files");
    std::size_t done = 0;
    for (const SourceFile& file : files) {
        Result<Bytes> bytes = readWholeFile(file.path);
        if (!bytes) {
            reportError(bytes.error());
            return nullptr;
        }
        std::vector<std::string> below(prefix.begin() + 1, prefix.end());
        below.insert(below.end(), file.components.begin(), file.components.end());
        top->addFileWithData(makeSharedBytes(std::move(*bytes)), below);
        progress.update(++done, files.size());
    }
    return archive;
}

ExitCode runPack(const PackOptions& options)
{
    const std::optional<std::vector<std::string>> prefix = entryPrefix(options);
    if (!prefix)
        return ExitCode::Usage;
    const fs::path source = pathFromUtf8(options.source);
    const fs::path output = pathFromUtf8(options.output);
    std::error_code error;
    if (!fs::is_directory(fs::status(source, error))) {
        reportProblem(options.source, "not a folder");
        return ExitCode::Failure;
    }
    const std::optional<std::vector<SourceFile>> files =
        scanSourceFolder(source, output, prefix->size());
    if (!files) {
        reportProblem(options.output, "nothing written");
        return ExitCode::Failure;
    }
    // Compressed, the size is known only once the files are compressed.
    const std::uint64_t size = archiveSize(*files, joined(*prefix));
    if (options.compress.empty() && size > UINT32_MAX) {
        reportProblem(options.output,
                      "the files need an archive of " + countedNoun(size, "byte", "bytes") +
                          ", and an archive must stay below 4 GiB; nothing written");
        return ExitCode::Failure;
    }
    const std::unique_ptr<RFAArchive> archive = assemble(*files, *prefix);
    if (!archive) {
        reportProblem(options.output, "nothing written");
        return ExitCode::Failure;
    }

    return writeArchive(*archive, options.output, options.compress) ? ExitCode::Success : ExitCode::Failure;
}

} // namespace

Command addPackCommand(CLI::App& app)
{
    auto options = std::make_shared<PackOptions>();
    CLI::App* pack = addSubcommand(
        app, "pack", "Pack a folder into an archive",
        "The archive is in the layout the game's packer writes, uncompressed unless\n"
        "--compress is given (--compress alone means --compress=best). Entry\n"
        "names are NAME/ followed by the path below SOURCE_DIR, and NAME is SOURCE_DIR\n"
        "as given: run it in the mod folder, and `rfa pack bf1942/levels/Berlin -o\n"
        "Berlin.rfa` names the entries bf1942/levels/Berlin/...\n"
        "Files are stored sorted by name, each folder's files before its subfolders; links\n"
        "to files and folders are followed, special files left out with a warning. The\n"
        "archive is written to a temporary file and renamed into place, so a failed or\n"
        "interrupted pack never leaves a partial archive under its name.");
    pack->add_option("SOURCE_DIR", options->source, "The folder to pack")->required();
    pack->add_option("-o,--output", options->output, "The archive to write")->required();
    addCompressOption(*pack, options->compress);
    CLI::Option* as = pack->add_option(
        "--as", options->name,
        "The folder path the entry names begin with (default: SOURCE_DIR as given; needed when "
        "that is absolute or climbs with \"..\")");
    return {pack, [options, as] {
                options->nameGiven = as->count() > 0;
                return runPack(*options);
            }};
}

} // namespace larkspan::cli
