#include "mod/ArchiveListing.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <memory>

namespace larkspan {

namespace {

// Directory bytes are read in pieces at least this big: one read for the
// directory of most archives, whose records end the file.
constexpr std::uint64_t kDirectoryReadLength = 1 << 20;

// The part of a file held in memory while its records are read.
class DirectoryWindow {
public:
    explicit DirectoryWindow(const RandomAccessFile& file) : file_(file) {}

    // Makes the window hold `length` bytes from `position`, or the rest of
    // the file when it ends sooner.
    Result<void> cover(std::uint64_t position, std::uint64_t length)
    {
        const std::uint64_t end = std::min(file_.size(), position + length);
        if (position >= start_ && end <= start_ + bytes_.size())
            return {};
        const std::uint64_t readEnd = std::min(file_.size(), std::max(end, position + kDirectoryReadLength));
        bytes_.resize(readEnd - position);
        start_ = position;
        return file_.readAt(position, bytes_);
    }

    ByteSpan bytes() const { return bytes_; }
    std::uint64_t start() const { return start_; }

private:
    const RandomAccessFile& file_;
    Bytes bytes_;
    std::uint64_t start_ = 0;
};

} // namespace

Result<ArchiveListing> ArchiveListing::open(const std::filesystem::path& path)
{
    Result<RandomAccessFile> file = RandomAccessFile::open(path);
    if (!file)
        return file.error();
    const std::uint64_t length = file->size();
    if (length > UINT32_MAX)
        return Error{ErrorCode::ArchiveTooLarge, path.string()};

    DirectoryWindow window(*file);
    if (Result<void> read = window.cover(0, 36); !read)
        return read.error();
    Result<ArchiveHeader> header = readHeaderFields(window.bytes(), length);
    if (!header)
        return Error{header.error().code, path.string()};
    std::uint64_t position = header->directoryOffset;
    if (Result<void> read = window.cover(position, 4); !read)
        return read.error();
    header->entryCount = littleIntAtPosition(window.bytes(), position - window.start());
    position += 4;

    std::vector<RecordFields> records;
    // A count beyond what the file could hold is found out by the records.
    records.reserve(std::min<std::uint64_t>(header->entryCount, length / kRecordFixedLength));
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        if (Result<void> read = window.cover(position, 4); !read)
            return read.error();
        const std::uint64_t nameLength = littleIntAtPosition(window.bytes(), position - window.start());
        // Checked before reading, so that a damaged length never pulls the whole file in.
        if (position + kRecordFixedLength + nameLength > length)
            return Error{ErrorCode::OutOfBounds, path.string()};
        if (Result<void> read = window.cover(position, kRecordFixedLength + nameLength); !read)
            return read.error();
        Result<RecordFields> record = readRecordFields(window.bytes(), window.start(), length, position);
        if (!record)
            return Error{record.error().code, path.string()};
        records.push_back(std::move(*record));
    }
    records.shrink_to_fit();
    return ArchiveListing(std::move(*file), *header, std::move(records));
}

Result<ArchiveListing::StoredBytes> ArchiveListing::readStored(const RecordFields& record) const
{
    StoredBytes stored{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[record.storedSize]), record.storedSize};
    if (Result<void> read = file_.readAt(record.dataOffset, stored.span()); !read)
        return read.error();
    return stored;
}

Result<SharedBytes> ArchiveListing::content(const RecordFields& record) const
{
    if (header_.compressionFlag != 0 && record.storedSize != record.size) {
        const Result<StoredBytes> stored = readStored(record);
        if (!stored)
            return stored.error();
        return entryContent(recordWithStoredBytes(record, stored->span(), header_));
    }
    Bytes stored(record.storedSize);
    if (Result<void> read = file_.readAt(record.dataOffset, stored); !read)
        return read.error();
    const EntryRecord entry = recordWithStoredBytes(record, stored, header_);
    if (!entry.compressed && !entry.decoded)
        return makeSharedBytes(std::move(stored));
    return entryContent(entry);
}

Result<void> ArchiveListing::readInPieces(const RecordFields& record, const SegmentSink& take,
                                          std::size_t firstLook) const
{
    if (header_.compressionFlag == 0 || record.storedSize == record.size) {
        // Raw, or telling it apart takes decoding it whole.
        const Result<SharedBytes> whole = content(record);
        if (!whole)
            return whole.error();
        take(**whole);
        return {};
    }
    const Result<StoredBytes> stored = readStored(record);
    if (!stored)
        return stored.error();
    if (forEachDecodedSegment(stored->span(), record.size, take, firstLook) == SegmentWalk::Damaged)
        return Error{ErrorCode::Decompression, record.name};
    return {};
}

} // namespace larkspan
