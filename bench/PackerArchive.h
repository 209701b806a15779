#pragma once

#include "Corpus.h"

#include "format/ArchiveDirectory.h"
#include "base/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace larkspan::bench {

// Where a corpus file goes in the benchmark archives: below "bf1942", in its
// folders under /usr (or "synthetic"), as a game script (".con" appended)
// when it is text and as a mesh (".sm") otherwise.
std::string archivePathOf(const CorpusFile& file);

struct PackerArchive {
    std::filesystem::path path; // the cached file
    Bytes bytes;                // its content
};

// Every file of the corpus as one entry of an archive laid out as the game's
// packer lays it out: plain header, compression flag 1, the 148-byte block,
// each entry in 32 KiB lzo1x_999 segments (raw where that gains nothing),
// then the directory. Built once and
// cached in `cacheDirectory` under the corpus's checksum.
PackerArchive packerArchive(std::size_t corpusSize, const std::filesystem::path& cacheDirectory);

// Every record of an archive, in order (std::runtime_error when damaged).
std::vector<EntryRecord> entryRecords(ByteSpan file);

struct StoredSegment {
    ByteSpan stream;
    std::uint32_t size = 0; // bytes it decodes to
};

// The segments of a compressed entry in table order (std::runtime_error when
// the table points outside the entry).
std::vector<StoredSegment> storedSegments(const EntryRecord& record);

} // namespace larkspan::bench
