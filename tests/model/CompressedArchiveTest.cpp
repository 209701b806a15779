// Archives written compressed: every entry in the packer's segments, read
// back as the tree they came from, the same bytes on any number of threads,
// and a stopped save that leaves the old file alone.

#include "base/ByteOrder.h"
#include "format/ArchiveDirectory.h"
#include "format/EntryCompression.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#ifdef LARKSPAN_TEST_LZO2
#include <lzo/lzo1x.h>
#endif

#include <random>

namespace larkspan {
namespace {

Bytes randomBytes(std::size_t n, std::uint32_t seed, int alphabet)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random() % alphabet);
    return bytes;
}

// Random bytes and then as many zeros as make the packer's cut store the
// content in exactly as many bytes as it has.
Bytes storedAsLongAsItself(CompressionLevel level)
{
    Bytes content = randomBytes(300, 5, 256);
    Lzo1xCompressor compressor(level);
    for (;;) {
        content.push_back(0);
        const std::vector<ByteSpan> inputs = segmentInputs(content, 0);
        if (!assembleEntry(content.size(), inputs, std::vector<Bytes>{compressor.compress(inputs[0])}))
            return content;
    }
}

RFAArchive sampleArchive(CompressionLevel level)
{
    RFAArchive archive;
    archive.root()->addFileWithData(makeSharedBytes(Bytes{}), "empty.con");
    archive.root()->addFileWithData(makeSharedBytes(randomBytes(100000, 1, 7)), "levels/big.raw");
    archive.root()->addFileWithData(makeSharedBytes(storedAsLongAsItself(level)), "levels/equal.dds");
    archive.root()->addFileWithData(makeSharedBytes(randomBytes(5000, 2, 256)), "noise.bin");
    return archive;
}

std::vector<std::pair<std::string, Bytes>> filesOf(const RFAArchive& archive)
{
    std::vector<std::pair<std::string, Bytes>> files;
    RFATreeEnumerator leaves = archive.root()->leafEnumerator();
    while (const RFATreeNode::Ptr leaf = leaves.nextObject())
        files.emplace_back(leaf->fullPath(), *leaf->data());
    return files;
}

#ifdef LARKSPAN_TEST_LZO2
// What liblzo2 makes of the entry's segments; the content when it reads
// every one.
Bytes decodedByLiblzo2(const EntryRecord& record)
{
    Bytes content;
    const std::uint32_t count = littleIntAtPosition(record.stored, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t size = littleIntAtPosition(record.stored, 8 + 12 * i);
        if (size == 0)
            continue; // the packer's empty file: four bytes that are no stream
        const std::size_t at = 4 + 12 * count + littleIntAtPosition(record.stored, 12 + 12 * i);
        Bytes segment(size);
        lzo_uint produced = size;
        if (lzo1x_decompress_safe(record.stored.data() + at, littleIntAtPosition(record.stored, 4 + 12 * i),
                                  segment.data(), &produced, nullptr) != LZO_E_OK || produced != size)
            return {};
        content.insert(content.end(), segment.begin(), segment.end());
    }
    return content;
}
#endif

TEST(CompressedArchive, ReadsBackAsTheTreeWithEveryEntryCompressed)
{
    for (const CompressionLevel level : {CompressionLevel::Fast, CompressionLevel::Best}) {
        const RFAArchive archive = sampleArchive(level);
        std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
        Bytes file;
        ASSERT_TRUE(archive.writeFileData([&](ByteSpan piece) { file.insert(file.end(), piece.begin(), piece.end()); },
                                          WriteOptions{level, 3}, [&](std::uint64_t done, std::uint64_t total) {
                                              reports.emplace_back(done, total);
                                              return true;
                                          }));
        EXPECT_EQ(littleIntAtPosition(file, 4), 1u);
        const ArchiveHeader header = *readArchiveHeader(file);
        std::uint64_t position = firstRecordPosition(header);
        for (std::uint32_t i = 0; i < header.entryCount; ++i) {
            const EntryRecord record = *readEntryRecord(file, header, position);
            EXPECT_TRUE(record.compressed) << record.name;
            EXPECT_NE(record.storedSize, record.size) << record.name;
            if (i == 0) {
                EXPECT_EQ(Bytes(record.stored.begin(), record.stored.end()),
                          (Bytes{1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11, 0x11, 0, 0}))
                    << "the packer's empty file";
            }
#ifdef LARKSPAN_TEST_LZO2
            EXPECT_EQ(decodedByLiblzo2(record), **entryContent(record)) << record.name;
#endif
        }
        const auto reread = RFAArchive::initWithData(file, {}, 2).value_or(nullptr);
        ASSERT_TRUE(reread);
        EXPECT_TRUE(reread->readCompressed());
        EXPECT_EQ(filesOf(*reread), filesOf(archive));

        // Monotone, over one total, ending there.
        for (std::size_t i = 1; i < reports.size(); ++i)
            EXPECT_TRUE(reports[i].first >= reports[i - 1].first && reports[i].second == reports[0].second);
        EXPECT_EQ(reports.back().first, reports.back().second);

        const std::optional<Bytes> oneWorker = archive.completeFileData({level, 1});
        EXPECT_TRUE(oneWorker == file) << "the same bytes on one worker as on three";
    }
}

TEST(CompressedArchive, StoppedSaveLeavesTheOldFile)
{
    const fixtures::TemporaryFolder folder;
    const std::filesystem::path target = folder.path() / "old.rfa";
    const Bytes old = *RFAArchive().completeFileData();
    ASSERT_TRUE(writeFileAtomically(target, old));
    const RFAArchive archive = sampleArchive(CompressionLevel::Fast);
    // Stopped at once, while compressing, and at the last report, once the
    // whole file is written.
    for (const bool atOnce : {true, false}) {
        const Result<void> saved = archive.writeToFile(
            target, {CompressionLevel::Fast},
            [&](std::uint64_t done, std::uint64_t total) { return !atOnce && done < total; });
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error().code, ErrorCode::Cancelled);
        EXPECT_EQ(readWholeFile(target), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    }
}

} // namespace
} // namespace larkspan
