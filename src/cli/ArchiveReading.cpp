#include "cli/ArchiveReading.h"

#include "cli/Diagnostics.h"
#include "cli/Progress.h"
#include "fs/FileIO.h"
#include "fs/SafePath.h"

namespace larkspan::cli {

std::unique_ptr<RFAArchive> readArchive(const std::string& path)
{
    const Result<Bytes> file = readWholeFile(pathFromUtf8(path));
    if (!file) {
        reportError(file.error());
        return nullptr;
    }
    ProgressLine progress("reading " + path);
    Result<std::unique_ptr<RFAArchive>> read =
        RFAArchive::initWithData(*file, [&](std::uint64_t done, std::uint64_t total) {
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
