#include "cli/ArchiveReading.h"
#include "cli/ArchiveWriting.h"
#include "cli/Commands.h"
#include "cli/CompressOption.h"
#include "cli/Diagnostics.h"
#include "fs/SafePath.h"

#include <filesystem>
#include <memory>

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

struct ConvertOptions {
    std::string archive;
    std::string output;
    std::string compress; // empty: uncompressed
    bool noCompress = false;
};

// The new file would take an existing one's permissions, and replacing a
// file nobody may write would go round its protection.
bool isReadOnly(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(pathFromUtf8(path), error);
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return !error && fs::is_regular_file(status) && (status.permissions() & writable) == fs::perms::none;
}

ExitCode runConvert(const ConvertOptions& options)
{
    if (isReadOnly(options.output)) {
        reportProblem(options.output, "the file is read-only; nothing written");
        return ExitCode::Failure;
    }
    const std::unique_ptr<RFAArchive> archive = readArchive(options.archive);
    if (!archive)
        return ExitCode::Failure;
    return writeArchive(*archive, options.output, options.compress) ? ExitCode::Success : ExitCode::Failure;
}

} // namespace

Command addConvertCommand(CLI::App& app)
{
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* convert = addSubcommand(
        app, "convert", "Write an archive's entries compressed or uncompressed",
        "Reads ARCHIVE and writes the same entries, in the same order, to OUT: every\n"
        "entry compressed in 32 KiB segments with --compress[=fast|best] (best when\n"
        "alone), or every entry as it stands with --no-compress; one of the two is\n"
        "needed. OUT may be ARCHIVE itself: the\n"
        "new file is written beside it and renamed into place, so the old one stays\n"
        "whole until the new one is complete. A read-only OUT is left alone.");
    convert->add_option("ARCHIVE", options->archive, "The archive to read")->required();
    convert->add_option("-o,--output", options->output, "The archive to write (may be ARCHIVE)")
        ->required()
        ->type_name("OUT");
    CLI::Option* compress = addCompressOption(*convert, options->compress);
    convert->add_flag("--no-compress", options->noCompress, "Store every entry as it stands")->excludes(compress);
    return {convert, [options] {
                if (options->compress.empty() && !options->noCompress) {
                    reportProblem("convert", "say how to store the entries: --compress[=fast|best] or --no-compress");
                    return ExitCode::Usage;
                }
                return runConvert(*options);
            }};
}

} // namespace larkspan::cli
