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

Result<ArchiveHeader> readArchiveHeader(ByteSpan file)
{
    ArchiveHeader header;
    std::uint64_t fieldsAt = 0;
    if (file.size() >= kIdentificationLength &&
        std::memcmp(file.data(), kIdentificationString, kIdentificationLength) == 0) {
        header.layout = ArchiveLayout::Identified;
        fieldsAt = kIdentificationLength;
    }
    header.directoryOffset = littleIntAtPosition(file, fieldsAt);
    header.compressionFlag = littleIntAtPosition(file, fieldsAt + 4);
    if (header.directoryOffset > file.size())
        return Error{ErrorCode::OutOfBounds};
    header.entryCount = littleIntAtPosition(file, header.directoryOffset);
    return header;
}

Result<EntryRecord> readEntryRecord(ByteSpan file, const ArchiveHeader& header, std::uint64_t& position)
{
    const Error outOfBounds{ErrorCode::OutOfBounds};
    const std::uint64_t length = file.size();
    const std::uint64_t nameLength = littleIntAtPosition(file, position);
    const std::uint64_t nameAt = position + 4;
    if (nameAt > length || nameLength > length - nameAt)
        return outOfBounds;
    const ByteSpan nameBytes = file.subspan(nameAt, nameLength);
    const auto zero = std::find(nameBytes.begin(), nameBytes.end(), std::uint8_t{0});

    EntryRecord record;
    const std::uint64_t q = nameAt + nameLength;
    record.storedSize = littleIntAtPosition(file, q);
    record.size = littleIntAtPosition(file, q + 4);
    record.dataOffset = littleIntAtPosition(file, q + 8);
    const std::uint64_t end = std::uint64_t(record.dataOffset) + record.storedSize;
    if (record.dataOffset > length || end > length || end > UINT32_MAX || q + 24 > length)
        return outOfBounds;

    record.name = latin1ToUtf8(ByteSpan(nameBytes.begin(), zero));
    record.stored = file.subspan(record.dataOffset, record.storedSize);
    decideCompression(record, header);
    position = q + 24;
    return record;
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
