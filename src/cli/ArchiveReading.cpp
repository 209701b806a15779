#include "cli/ArchiveReading.h"

#include "cli/Diagnostics.h"
#include "cli/Progress.h"
#include "fs/FileIO.h"
#include "fs/SafePath.h"

namespace larkspan::cli {

std::unique_ptr<RFAArchive> readArchive(const std::string& path)
{
    Result<Bytes> file = readWholeFile(pathFromUtf8(path));
    if (!file) {
        reportError(file.error());
        return nullptr;
    }
    ProgressLine progress("reading " + path);
    // Commands that read a whole archive use every entry: a damaged one is told now.
    Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithFile(
        makeSharedBytes(std::move(*file)), RFAArchive::Decoding::WhileReading,
        [&](std::uint64_t done, std::uint64_t total) {
            progress.update(done, total);
            return true;
        });
    if (!read) {
        reportProblem(path, describe(read.error()).text);
        return nullptr;
    }
    return std::move(*read);
}

} // namespace larkspan::cli
