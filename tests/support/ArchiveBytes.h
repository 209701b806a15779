#pragma once

// Builds archive files byte by byte, so tests can say exactly what lies where,
// including what our own writer would never produce.

#include "base/ByteOrder.h"
#include "base/Bytes.h"
#include "format/ArchiveDirectory.h"

#include <string>
#include <string_view>
#include <vector>

namespace larkspan::fixtures {

struct RawRecord {
    std::string name; // stored as given: bytes, not UTF-8
    std::uint32_t storedSize;
    std::uint32_t size;
    std::uint32_t dataOffset;
};

inline void appendText(Bytes& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

inline void appendRecord(Bytes& out, const RawRecord& r)
{
    appendLittleInt(out, static_cast<std::uint32_t>(r.name.size()));
    appendText(out, r.name);
    appendLittleInt(out, r.storedSize);
    appendLittleInt(out, r.size);
    appendLittleInt(out, r.dataOffset);
    out.insert(out.end(), 12, 0);
}

// One row of a compressed entry's segment table.
struct SegmentRow {
    std::uint32_t storedSize;
    std::uint32_t size;
    std::uint32_t offset; // from the end of the table
};

// A compressed entry: its segment count, the table, then `streams`.
inline Bytes segmentedEntry(std::uint32_t count, const std::vector<SegmentRow>& rows, const Bytes& streams)
{
    Bytes entry;
    appendLittleInt(entry, count);
    for (const SegmentRow& row : rows) {
        appendLittleInt(entry, row.storedSize);
        appendLittleInt(entry, row.size);
        appendLittleInt(entry, row.offset);
    }
    entry.insert(entry.end(), streams.begin(), streams.end());
    return entry;
}

struct Segment {
    Bytes stream;
    std::uint32_t size;                 // what the table says it decodes to
    std::uint32_t offsetAdjustment = 0; // added to the true offset, to point it astray
};

// A compressed entry of these segments, their streams back to back in table order.
inline Bytes segmentedEntry(const std::vector<Segment>& segments)
{
    std::vector<SegmentRow> rows;
    Bytes streams;
    for (const Segment& s : segments) {
        rows.push_back({std::uint32_t(s.stream.size()), s.size, std::uint32_t(streams.size()) + s.offsetAdjustment});
        streams.insert(streams.end(), s.stream.begin(), s.stream.end());
    }
    return segmentedEntry(std::uint32_t(rows.size()), rows, streams);
}

// An entry as the directory tells of it: the name's raw bytes, the stored
// bytes and the size field.
struct StoredEntry {
    std::string name;
    Bytes stored;
    std::uint32_t size;
};

// An entry stored as it is (size = stored size).
inline StoredEntry rawEntry(std::string name, const Bytes& content)
{
    return {std::move(name), content, static_cast<std::uint32_t>(content.size())};
}

// An archive holding `entries` in record order, data first, directory last;
// the identified layout puts its header in front.
inline Bytes archiveOf(const std::vector<StoredEntry>& entries, std::uint32_t compressionFlag = 0,
                       bool identified = false)
{
    Bytes file;
    if (identified)
        appendText(file, {kIdentificationString, kIdentificationLength});
    const std::size_t headerAt = file.size();
    appendLittleInt(file, 0);
    appendLittleInt(file, compressionFlag);
    std::vector<RawRecord> records;
    for (const StoredEntry& entry : entries) {
        records.push_back({entry.name, static_cast<std::uint32_t>(entry.stored.size()), entry.size,
                           static_cast<std::uint32_t>(file.size())});
        file.insert(file.end(), entry.stored.begin(), entry.stored.end());
    }
    replaceBytesInRange(file, headerAt, static_cast<std::uint32_t>(file.size()));
    appendLittleInt(file, static_cast<std::uint32_t>(records.size()));
    for (const RawRecord& r : records)
        appendRecord(file, r);
    return file;
}

// A plain-layout archive holding `entries` (name → content) uncompressed.
inline Bytes plainArchive(const std::vector<std::pair<std::string, std::string>>& entries,
                          std::uint32_t compressionFlag = 0)
{
    std::vector<StoredEntry> stored;
    for (const auto& [name, content] : entries)
        stored.push_back(rawEntry(name, Bytes(content.begin(), content.end())));
    return archiveOf(stored, compressionFlag);
}

// Where the fields of the first record of a plainArchive() lie.
struct FirstRecord {
    std::size_t countAt, nameLengthAt, storedSizeAt, sizeAt, dataOffsetAt;
};

inline FirstRecord firstRecordOf(const Bytes& archive, std::size_t nameLength)
{
    const std::size_t directory = littleIntAtPosition(archive, 0);
    const std::size_t fields = directory + 8 + nameLength;
    return {directory, directory + 4, fields, fields + 4, fields + 8};
}

inline Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

inline SharedBytes textBytes(std::string_view text)
{
    return makeSharedBytes(bytesOf(text));
}

inline std::string text(const SharedBytes& bytes)
{
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<null>");
}

} // namespace larkspan::fixtures
