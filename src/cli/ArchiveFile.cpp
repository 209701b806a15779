#include "cli/ArchiveFile.h"

#include "cli/Diagnostics.h"

namespace larkspan::cli {

namespace {

std::string outOfBoundsText()
{
    return UnpackError::make(UnpackFailure::OutOfBounds).description;
}

} // namespace

std::optional<ArchiveFile> openArchiveFile(const std::string& path)
{
    FileError error;
    std::optional<Bytes> bytes = readWholeFile(path, &error);
    if (!bytes) {
        reportProblem(path, "cannot be read: " + reasonOf(error));
        return std::nullopt;
    }
    const std::optional<ArchiveHeader> header = readArchiveHeader(*bytes);
    if (!header) {
        reportProblem(path,
                      "not an archive: the directory offset lies beyond the end of the file (" +
                          outOfBoundsText() + ")");
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
    std::optional<EntryRecord> record =
        readEntryRecord(archive_.span(), archive_.header, position_);
    if (!record) {
        failed_ = true;
        reportProblem(archive_.path, "record " + std::to_string(index_ + 1) + " of " +
                                         std::to_string(archive_.header.entryCount) +
                                         " lies outside the file (" + outOfBoundsText() + ")");
        return std::nullopt;
    }
    ++index_;
    return record;
}

std::string decompressionFailureText()
{
    return UnpackError::make(UnpackFailure::Decompression).description;
}

} // namespace larkspan::cli
