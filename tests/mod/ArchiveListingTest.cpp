#include "mod/ArchiveListing.h"
#include "format/EntryCompression.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::archiveOf;
using fixtures::bytesOf;
using fixtures::StoredEntry;

TEST(ArchiveListingTest, ReadsTheDirectoryInPiecesAsTheWholeFileReaderDoes)
{
    // A directory of ~2 MiB, so that records straddle the pieces it is read in.
    std::vector<StoredEntry> entries;
    for (int i = 0; i < 30000; ++i)
        entries.push_back(fixtures::rawEntry("bf1942/objects/" + std::string(i % 90, 'x') + std::to_string(i) + ".con",
                                             bytesOf(std::to_string(i))));
    const Bytes text = bytesOf(std::string(5000, 'a') + "compressed");
    entries.push_back({"bf1942/packed.con", compressEntry(text, CompressionLevel::Fast), std::uint32_t(text.size())});
    const Bytes file = archiveOf(entries, 1);

    fixtures::TemporaryFolder folder;
    const auto path = folder.write("a.rfa", std::string(file.begin(), file.end()));
    const Result<ArchiveListing> listing = ArchiveListing::open(path);
    ASSERT_TRUE(listing);
    const Result<ArchiveHeader> header = readArchiveHeader(file);
    ASSERT_EQ(listing->records().size(), header->entryCount);
    std::uint64_t position = firstRecordPosition(*header);
    for (const RecordFields& fields : listing->records()) {
        const Result<EntryRecord> expected = readEntryRecord(file, *header, position);
        ASSERT_TRUE(expected);
        ASSERT_EQ(fields.name, expected->name);
        ASSERT_EQ(fields.dataOffset, expected->dataOffset);
        ASSERT_EQ(fields.storedSize, expected->storedSize);
    }
    for (const std::size_t i : {std::size_t(0), std::size_t(29999), std::size_t(30000)}) {
        const Result<SharedBytes> content = listing->content(listing->records()[i]);
        ASSERT_TRUE(content);
        EXPECT_EQ(**content, i == 30000 ? text : entries[i].stored) << i;
    }
}

TEST(ArchiveListingTest, RefusesRecordsAndFilesItCannotRead)
{
    const Bytes good = archiveOf({fixtures::rawEntry("bf1942/a.con", bytesOf("abc"))});
    Bytes countTooHigh = good;
    replaceBytesInRange(countTooHigh, littleIntAtPosition(good, 0), 2);
    Bytes dataOutside = good;
    replaceBytesInRange(dataOutside, dataOutside.size() - 16, 0xFFFF);
    fixtures::TemporaryFolder folder;
    const auto open = [&](const Bytes& file) {
        return ArchiveListing::open(folder.write("a.rfa", std::string(file.begin(), file.end())));
    };
    const std::pair<const char*, Bytes> outOfBounds[] = {{"count beyond the records", countTooHigh},
                                                         {"data beyond the file", dataOutside},
                                                         {"directory beyond the file", Bytes{0xff, 0xff, 0, 0}}};
    for (const auto& [what, file] : outOfBounds) {
        const Result<ArchiveListing> listing = open(file);
        ASSERT_FALSE(listing) << what;
        EXPECT_EQ(listing.error().code, ErrorCode::OutOfBounds) << what;
    }
    // One segment whose table row runs past the stored bytes: listed, but not read.
    const Result<ArchiveListing> undecodable = open(archiveOf({{"bf1942/a.con", Bytes{1, 0, 0, 0, 9, 0}, 9}}, 1));
    ASSERT_TRUE(undecodable);
    EXPECT_EQ(undecodable->content(undecodable->records().front()).error().code, ErrorCode::Decompression);
    const Result<ArchiveListing> missing = ArchiveListing::open(folder.path() / "none.rfa");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::CannotRead);
}

} // namespace
} // namespace larkspan
