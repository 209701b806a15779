#pragma once

// Builds archive files byte by byte, so tests can say exactly what lies where,
// including what our own writer would never produce.

#include "base/ByteOrder.h"
#include "base/Bytes.h"

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

// A plain-layout archive holding `entries` (name → content) uncompressed,
// data first, directory last.
inline Bytes plainArchive(const std::vector<std::pair<std::string, std::string>>& entries,
                          std::uint32_t compressionFlag = 0)
{
    Bytes file;
    appendLittleInt(file, 0);
    appendLittleInt(file, compressionFlag);
    std::vector<RawRecord> records;
    for (const auto& [name, content] : entries) {
        records.push_back({name, static_cast<std::uint32_t>(content.size()),
                           static_cast<std::uint32_t>(content.size()), static_cast<std::uint32_t>(file.size())});
        appendText(file, content);
    }
    replaceBytesInRange(file, 0, static_cast<std::uint32_t>(file.size()));
    appendLittleInt(file, static_cast<std::uint32_t>(records.size()));
    for (const RawRecord& r : records)
        appendRecord(file, r);
    return file;
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

inline std::string text(const SharedBytes& bytes)
{
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<null>");
}

} // namespace larkspan::fixtures
