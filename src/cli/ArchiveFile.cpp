#include "cli/ArchiveFile.h"

#include "cli/Diagnostics.h"
#include "fs/FileIO.h"
#include "fs/SafePath.h"

namespace larkspan::cli {

std::optional<ArchiveFile> openArchiveFile(const std::string& path)
{
    Result<Bytes> bytes = readWholeFile(pathFromUtf8(path));
    if (!bytes) {
        reportError(bytes.error());
        return std::nullopt;
    }
    const Result<ArchiveHeader> header = readArchiveHeader(*bytes);
    if (!header) {
        reportProblem(path, reasonText(header.error()));
        return std::nullopt;
    }
    return ArchiveFile{path, std::move(*bytes), *header};
}

RecordReader::RecordReader(const ArchiveFile& archive)
    : archive_(archive), position_(firstRecordPosition(archive.header))
{
}

std::optional<EntryRecord> RecordReader::next()
{
    if (failed_ || index_ == archive_.header.entryCount)
        return std::nullopt;
    Result<EntryRecord> record = readEntryRecord(archive_.span(), archive_.header, position_);
    if (!record) {
        failed_ = true;
        // Which record tells how much of the directory could still be read.
        reportProblem(archive_.path, reasonText(record.error()) + " (at record " + std::to_string(index_ + 1) +
                                         " of " + std::to_string(archive_.header.entryCount) + ")");
        return std::nullopt;
    }
    ++index_;
    return std::move(*record);
}

} // namespace larkspan::cli
