#include "PackerArchive.h"

#include "LzoSegments.h"

#include "base/ByteOrder.h"
#include "format/MagicHeader.h"
#include "fs/FileIO.h"

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace larkspan::bench {

namespace {

constexpr std::uint8_t kRecordTrailer[12] = {0xE0, 0x21, 0x13, 0x00};

std::uint64_t checksum(const std::vector<CorpusFile>& files)
{
    std::uint64_t sum = files.size();
    const std::hash<std::string_view> hash;
    for (const CorpusFile& file : files) {
        const std::string_view bytes(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
        sum = sum * 0x100000001B3ULL ^ hash(bytes) ^ (hash(file.origin) << 1);
    }
    return sum;
}

// Segment table, then the streams back to back.
void appendEntry(Bytes& out, const std::vector<LzoSegment>& segments)
{
    appendLittleInt(out, static_cast<std::uint32_t>(segments.size()));
    std::uint32_t offset = 0;
    for (const LzoSegment& segment : segments) {
        appendLittleInt(out, static_cast<std::uint32_t>(segment.stream.size()));
        appendLittleInt(out, segment.size);
        appendLittleInt(out, offset);
        offset += static_cast<std::uint32_t>(segment.stream.size());
    }
    for (const LzoSegment& segment : segments)
        out.insert(out.end(), segment.stream.begin(), segment.stream.end());
}

Bytes packedArchive(const std::vector<CorpusFile>& files)
{
    std::vector<ByteSpan> contents;
    for (const CorpusFile& file : files)
        contents.emplace_back(file.bytes);
    const std::vector<std::vector<LzoSegment>> segments = compressPieces(contents);

    Bytes out;
    appendLittleInt(out, 0); // directory offset, known at the end
    appendLittleInt(out, 1);
    out.insert(out.end(), kMagicHeader.begin(), kMagicHeader.end());
    Bytes directory;
    appendLittleInt(directory, static_cast<std::uint32_t>(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::size_t offset = out.size();
        appendEntry(out, segments[i]);
        // Where compressing gains nothing the entry is stored raw, as in
        // retail archives; equal sizes are what marks a raw entry.
        if (out.size() - offset >= files[i].bytes.size()) {
            out.resize(offset);
            out.insert(out.end(), files[i].bytes.begin(), files[i].bytes.end());
        }
        const std::string name = archivePathOf(files[i]);
        appendLittleInt(directory, static_cast<std::uint32_t>(name.size()));
        directory.insert(directory.end(), name.begin(), name.end());
        appendLittleInt(directory, static_cast<std::uint32_t>(out.size() - offset));
        appendLittleInt(directory, static_cast<std::uint32_t>(files[i].bytes.size()));
        appendLittleInt(directory, static_cast<std::uint32_t>(offset));
        directory.insert(directory.end(), std::begin(kRecordTrailer), std::end(kRecordTrailer));
    }
    replaceBytesInRange(out, 0, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), directory.begin(), directory.end());
    appendLittleInt(out, 0);
    if (out.size() > UINT32_MAX)
        throw std::runtime_error("the corpus is too large for one archive");
    return out;
}

} // namespace

std::string archivePathOf(const CorpusFile& file)
{
    std::string_view origin = file.origin;
    for (const std::string_view prefix : {"/usr/share/", "/usr/"})
        if (origin.starts_with(prefix)) {
            origin.remove_prefix(prefix.size());
            break;
        }
    // Names stay plain ASCII that every extraction accepts.
    std::string path = "bf1942/";
    for (const char c : origin)
        path += (c >= 0x20 && c < 0x7F && c != '\\') ? c : '_';
    return path + (file.isText ? ".con" : ".sm");
}

PackerArchive packerArchive(std::size_t corpusSize, const std::filesystem::path& cacheDirectory)
{
    const std::vector<CorpusFile> files = corpusFiles(corpusSize);
    char name[64];
    std::snprintf(name, sizeof name, "packer-%zu-%016llx.rfa", corpusSize,
                  static_cast<unsigned long long>(checksum(files)));
    PackerArchive archive{cacheDirectory / name, {}};
    if (Result<Bytes> cached = readWholeFile(archive.path)) {
        archive.bytes = std::move(*cached);
        return archive;
    }
    archive.bytes = packedArchive(files);
    if (!writeFileAtomically(archive.path, archive.bytes))
        throw std::runtime_error("cannot write " + archive.path.string());
    return archive;
}

std::vector<EntryRecord> entryRecords(ByteSpan file)
{
    const Result<ArchiveHeader> header = readArchiveHeader(file);
    if (!header)
        throw std::runtime_error("not an archive");
    std::vector<EntryRecord> records;
    std::uint64_t position = firstRecordPosition(*header);
    for (std::uint32_t i = 0; i < header->entryCount; ++i) {
        Result<EntryRecord> record = readEntryRecord(file, *header, position);
        if (!record)
            throw std::runtime_error("a record lies outside the archive");
        records.push_back(std::move(*record));
    }
    return records;
}

std::vector<StoredSegment> storedSegments(const EntryRecord& record)
{
    const ByteSpan stored = record.stored;
    const std::uint64_t count = littleIntAtPosition(stored, 0);
    const std::uint64_t streams = 4 + 12 * count;
    if (streams > stored.size())
        throw std::runtime_error("segment table beyond the entry");
    std::vector<StoredSegment> segments;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t length = littleIntAtPosition(stored, 4 + 12 * i);
        const std::uint32_t size = littleIntAtPosition(stored, 8 + 12 * i);
        const std::uint64_t at = streams + littleIntAtPosition(stored, 12 + 12 * i);
        if (at + length > stored.size())
            throw std::runtime_error("segment beyond the entry");
        segments.push_back({stored.subspan(at, length), size});
    }
    return segments;
}

} // namespace larkspan::bench
