#pragma once

// An archive on disk known by its directory alone: opening it reads the
// header and the records, never the entries' data, so that many big
// archives can be looked over at once. An entry's bytes are read, and
// decoded, only when that entry is asked for.

#include "base/Bytes.h"
#include "base/Error.h"
#include "format/ArchiveDirectory.h"
#include "format/RFADecompression.h"
#include "fs/RandomAccessFile.h"

#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace larkspan {

class ArchiveListing {
public:
    // CannotRead when the file cannot be read; OutOfBounds when the header
    // or a record points outside it.
    static Result<ArchiveListing> open(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return file_.path(); }
    const ArchiveHeader& header() const { return header_; }
    const std::vector<RecordFields>& records() const { return records_; }

    // The content of one record: its stored bytes read and, when
    // compressed, decoded. CannotRead when the file changed beneath us,
    // Decompression (with the entry's name) when it cannot be decoded.
    Result<SharedBytes> content(const RecordFields& record) const;

    // The same content handed to `take` in pieces, in order: a compressed
    // entry a segment at a time as each is decoded, any other at once.
    // Returning false from `take` stops the reading, which is no error; the
    // errors are content()'s, after the pieces before the damage.
    // `firstLook` as forEachDecodedSegment takes it.
    Result<void> readInPieces(const RecordFields& record, const SegmentSink& take, std::size_t firstLook = 0) const;

    std::uint64_t contentLength(const RecordFields& record) const
    {
        return larkspan::contentLength(record, header_);
    }

private:
    // A surely compressed entry's stored bytes: only decoded, never kept, so
    // they need no zeroing before the read.
    struct StoredBytes {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t size;
        std::span<std::uint8_t> span() const { return {bytes.get(), size}; }
    };
    Result<StoredBytes> readStored(const RecordFields& record) const;

    ArchiveListing(RandomAccessFile file, ArchiveHeader header, std::vector<RecordFields> records)
        : file_(std::move(file)), header_(header), records_(std::move(records))
    {
    }

    RandomAccessFile file_;
    ArchiveHeader header_;
    std::vector<RecordFields> records_;
};

} // namespace larkspan
