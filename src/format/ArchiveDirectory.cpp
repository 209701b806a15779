#include "format/ArchiveDirectory.h"

#include "base/ByteOrder.h"
#include "format/RFADecompression.h"
#include "base/Latin1.h"

#include <algorithm>
#include <cstring>

namespace larkspan {

namespace {

// With the flag set, sizes that differ mean compressed. Equal sizes mostly
// mean raw, but the game's packer now and then stores a compressed entry in
// exactly as many bytes as its content: only decoding tells the two apart,
// and the decoded content is kept so that it is decoded once.
void decideCompression(EntryRecord& record, const ArchiveHeader& header)
{
    if (header.compressionFlag == 0)
        return;
    if (record.storedSize != record.size) {
        record.compressed = true;
        return;
    }
    record.decoded = decompressedDataIfSegmented(record.stored);
    record.compressed = record.decoded != nullptr;
}

} // namespace

Result<ArchiveHeader> readHeaderFields(ByteSpan head, std::uint64_t fileLength)
{
    ArchiveHeader header;
    std::uint64_t fieldsAt = 0;
    if (head.size() >= kIdentificationLength &&
        std::memcmp(head.data(), kIdentificationString, kIdentificationLength) == 0) {
        header.layout = ArchiveLayout::Identified;
        fieldsAt = kIdentificationLength;
    }
    header.directoryOffset = littleIntAtPosition(head, fieldsAt);
    header.compressionFlag = littleIntAtPosition(head, fieldsAt + 4);
    if (header.directoryOffset > fileLength)
        return Error{ErrorCode::OutOfBounds};
    return header;
}

Result<ArchiveHeader> readArchiveHeader(ByteSpan file)
{
    Result<ArchiveHeader> header = readHeaderFields(file, file.size());
    if (header)
        header->entryCount = littleIntAtPosition(file, header->directoryOffset);
    return header;
}

Result<RecordFields> readRecordFields(ByteSpan window, std::uint64_t windowStart, std::uint64_t fileLength,
                                      std::uint64_t& position)
{
    const Error outOfBounds{ErrorCode::OutOfBounds};
    const std::uint64_t at = position - windowStart;
    const std::uint64_t nameLength = littleIntAtPosition(window, at);
    const std::uint64_t nameAt = position + 4;
    if (nameAt > fileLength || nameLength > fileLength - nameAt)
        return outOfBounds;
    const ByteSpan nameBytes = window.subspan(at + 4, nameLength);
    const auto zero = std::find(nameBytes.begin(), nameBytes.end(), std::uint8_t{0});

    RecordFields fields;
    const std::uint64_t q = at + 4 + nameLength;
    fields.storedSize = littleIntAtPosition(window, q);
    fields.size = littleIntAtPosition(window, q + 4);
    fields.dataOffset = littleIntAtPosition(window, q + 8);
    const std::uint64_t end = std::uint64_t(fields.dataOffset) + fields.storedSize;
    if (fields.dataOffset > fileLength || end > fileLength || end > UINT32_MAX ||
        nameAt + nameLength + 24 > fileLength)
        return outOfBounds;
    fields.name = latin1ToUtf8(ByteSpan(nameBytes.begin(), zero));
    position = nameAt + nameLength + 24;
    return fields;
}

EntryRecord recordWithStoredBytes(RecordFields fields, ByteSpan stored, const ArchiveHeader& header)
{
    EntryRecord record;
    record.name = std::move(fields.name);
    record.storedSize = fields.storedSize;
    record.size = fields.size;
    record.dataOffset = fields.dataOffset;
    record.stored = stored;
    decideCompression(record, header);
    return record;
}

Result<EntryRecord> readEntryRecord(ByteSpan file, const ArchiveHeader& header, std::uint64_t& position)
{
    Result<RecordFields> fields = readRecordFields(file, 0, file.size(), position);
    if (!fields)
        return fields.error();
    const ByteSpan stored = file.subspan(fields->dataOffset, fields->storedSize);
    return recordWithStoredBytes(std::move(*fields), stored, header);
}

Result<SharedBytes> entryContent(const EntryRecord& record)
{
    if (record.decoded)
        return record.decoded;
    if (!record.compressed)
        return makeSharedBytes(record.stored);
    if (SharedBytes content = decompressedDataFromData(record.stored, record.size))
        return content;
    return Error{ErrorCode::Decompression, record.name};
}

} // namespace larkspan
