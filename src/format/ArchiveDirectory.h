#pragma once

// The on-disk directory of an archive, read record by record with every
// bounds check, and the one rule that turns a record's stored bytes into the
// entry's content.

#include "base/Error.h"
#include "base/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace larkspan {

inline constexpr char kIdentificationString[] = "Refractor2 FlatArchive 1.1  ";
inline constexpr std::size_t kIdentificationLength = 28;

enum class ArchiveLayout { Plain, Identified };

struct ArchiveHeader {
    ArchiveLayout layout = ArchiveLayout::Plain;
    std::uint32_t directoryOffset = 0;
    std::uint32_t compressionFlag = 0;
    std::uint32_t entryCount = 0;
};

// A record as the directory states it, without the bytes it points to.
struct RecordFields {
    std::string name; // UTF-8, decoded from Latin-1, cut at the first zero byte
    std::uint32_t storedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t dataOffset = 0;
};

struct EntryRecord {
    std::string name; // UTF-8, decoded from Latin-1, cut at the first zero byte
    std::uint32_t storedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t dataOffset = 0;
    ByteSpan stored;
    bool compressed = false; // the stored bytes are a segment table + LZO1X streams
    // The content, when telling compressed from raw took decoding it (a
    // compressed entry whose stored size equals its size).
    SharedBytes decoded;
};

// OutOfBounds when the directory offset lies beyond the file.
Result<ArchiveHeader> readArchiveHeader(ByteSpan file);

// The same from the file's first bytes (`head`, up to 36) and its length,
// for a file that is not held whole; the entry count is left at 0 for the
// caller to read at the directory offset.
Result<ArchiveHeader> readHeaderFields(ByteSpan head, std::uint64_t fileLength);

// Reads the record at `position` (an offset in the file) from `window`, the
// file's bytes from `windowStart` on, and moves `position` past it. The
// window must hold the record's bytes, or all of the file after `position`
// when the record would run past its end. OutOfBounds when the record, or
// the data it points to, lies outside the file.
Result<RecordFields> readRecordFields(ByteSpan window, std::uint64_t windowStart, std::uint64_t fileLength,
                                      std::uint64_t& position);

// A record with the stored bytes it points to, told compressed or raw
// (decoding them only where that alone tells).
EntryRecord recordWithStoredBytes(RecordFields fields, ByteSpan stored, const ArchiveHeader& header);

// The bytes a record takes in the directory, name included.
inline constexpr std::uint64_t kRecordFixedLength = 28;

// The content length as the reader takes it: the size field for an entry
// that may be compressed, the stored size for one that cannot be.
inline std::uint64_t contentLength(const RecordFields& fields, const ArchiveHeader& header)
{
    return header.compressionFlag != 0 ? fields.size : fields.storedSize;
}

// Reads the record at `position` and moves `position` past it; OutOfBounds
// when the record, or the data it points to, lies outside the file. Decodes
// only where that alone tells whether the stored bytes are compressed.
Result<EntryRecord> readEntryRecord(ByteSpan file, const ArchiveHeader& header, std::uint64_t& position);

// The entry's content: the stored bytes as they stand, or decompressed;
// Decompression (with the entry's name) when it cannot be decoded.
Result<SharedBytes> entryContent(const EntryRecord& record);

inline std::uint64_t firstRecordPosition(const ArchiveHeader& header)
{
    return std::uint64_t(header.directoryOffset) + 4;
}

} // namespace larkspan
