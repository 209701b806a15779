#include "format/EntryPath.h"
#include "base/CountedNoun.h"
#include "model/RFAArchive.h"
#include "cli/ArchiveFile.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/Progress.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace larkspan::cli {

namespace {

struct VerifyOptions {
    std::vector<std::string> archives;
};

// True when the entry reads as the editor would read it. A content of
// another length than the record says is read all the same, so it is
// only pointed out.
bool verifyEntry(const ArchiveFile& archive, const EntryRecord& record)
{
    if (splitEntryPath(record.name).size() > kMaxEntryDepth) {
        reportEntryProblem(archive.path, record.name,
                           "the path is deeper than " + std::to_string(kMaxEntryDepth) +
                               " folders; the editor refuses it");
        return false;
    }
    const Result<SharedBytes> content = entryContent(record);
    if (!content) {
        reportEntryProblem(archive.path, record.name, reasonText(content.error()));
        return false;
    }
    if ((*content)->size() != contentSize(record))
        reportEntryProblem(archive.path, record.name,
                           "warning: decompresses to " + countedNoun((*content)->size(), "byte", "bytes") +
                               ", the record says " + std::to_string(record.size));
    return true;
}

ExitCode verifyArchive(const std::string& path)
{
    const std::optional<ArchiveFile> archive = openArchiveFile(path);
    if (!archive)
        return ExitCode::Failure;
    ProgressLine progress("verifying " + archive->path);
    std::uint32_t failures = 0;
    RecordReader records(*archive);
    while (const std::optional<EntryRecord> record = records.next()) {
        if (!verifyEntry(*archive, *record))
            ++failures;
        progress.update(records.recordsRead(), archive->header.entryCount);
    }
    const std::string entries = countedNoun(archive->header.entryCount, "entry", "entries");
    if (records.failed() || failures > 0) {
        reportProblem(archive->path, std::to_string(failures) + " of " + entries + " failed" +
                                         (records.failed() ? ", and the directory is broken" : ""));
        return ExitCode::Failure;
    }
    clearProgressLine();
    std::printf("%s: %s, all readable\n", archive->path.c_str(), entries.c_str());
    return ExitCode::Success;
}

// Each archive is checked, also after one that fails: a mod's archives go
// through in one run.
ExitCode runVerify(const VerifyOptions& options)
{
    ExitCode result = ExitCode::Success;
    for (const std::string& archive : options.archives)
        if (verifyArchive(archive) != ExitCode::Success)
            result = ExitCode::Failure;
    return result;
}

} // namespace

Command addVerifyCommand(CLI::App& app)
{
    auto options = std::make_shared<VerifyOptions>();
    CLI::App* verify = addSubcommand(
        app, "verify", "Decompress every entry and report each one that fails",
        "Every entry is read and decompressed as the editor would; each failure is\n"
        "reported and the check goes on with the next entry, and the next archive.\n"
        "Exits with 1 when any entry or archive fails.");
    verify->add_option("ARCHIVE", options->archives, "The archives to check")->required();
    return {verify, [options] { return runVerify(*options); }};
}

} // namespace larkspan::cli
