#pragma once

#include "format/ArchiveDirectory.h"
#include "base/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace larkspan::cli {

// An archive's bytes and header. Commands walk its records one by one, so
// that they decode only what they show and a broken entry does not hide
// the others.
struct ArchiveFile {
    std::string path; // as given on the command line, for messages
    Bytes bytes;
    ArchiveHeader header;

    ByteSpan span() const { return bytes; }
};

// Nothing, with a message on stderr, when the file cannot be read or its
// header points outside it.
std::optional<ArchiveFile> openArchiveFile(const std::string& path);

// The records of an archive in file order.
class RecordReader {
public:
    explicit RecordReader(const ArchiveFile& archive);

    // The next record; nothing at the end, or, with a message on stderr
    // and failed() set, when a record lies outside the file (the ones after
    // it cannot be found then).
    std::optional<EntryRecord> next();

    bool failed() const { return failed_; }
    std::uint32_t recordsRead() const { return index_; }

private:
    const ArchiveFile& archive_;
    std::uint64_t position_;
    std::uint32_t index_ = 0;
    bool failed_ = false;
};

// The entry's content length as the reader takes it: the size field for a
// compressed entry, the stored bytes otherwise.
inline std::uint64_t contentSize(const EntryRecord& record)
{
    return record.compressed ? record.size : record.storedSize;
}

} // namespace larkspan::cli
