#include "cli/ArchiveWriting.h"

#include "cli/CompressOption.h"
#include "cli/Diagnostics.h"
#include "cli/Progress.h"
#include "fs/SafePath.h"

namespace larkspan::cli {

bool writeArchive(const RFAArchive& archive, const std::string& output, const std::string& compress)
{
    WriteOptions options;
    if (!compress.empty())
        options.compression = compressionLevel(compress);
    ProgressLine progress((compress.empty() ? "writing " : "compressing and writing ") + output);
    const Result<void> written = archive.writeToFile(pathFromUtf8(output), options, [&](std::uint64_t done, std::uint64_t total) {
        progress.update(done, total);
        return true;
    });
    if (written)
        return true;
    if (written.error().code == ErrorCode::ArchiveTooLarge)
        reportProblem(output, "the entries do not fit an archive's 32-bit sizes; nothing written");
    else
        reportError(written.error());
    return false;
}

} // namespace larkspan::cli
