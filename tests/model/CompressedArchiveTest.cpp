// Archives written compressed: every entry in the packer's segments, read
// back as the tree they came from, the same bytes on any number of threads,
// and a stopped save that leaves the old file alone.

#include "base/ByteOrder.h"
#include "format/ArchiveDirectory.h"
#include "format/EntryCompression.h"
#include "fs/FileIO.h"
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

constexpr CompressionLevel kLevels[] = {CompressionLevel::Fast, CompressionLevel::Best};

Bytes randomBytes(std::size_t n, std::uint32_t seed, int alphabet)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random() % alphabet);
    return bytes;
}

// Random bytes and then zeros, as many as make the packer's cut store the
// content in exactly as many bytes as it has.
Bytes storedAsLongAsItself(CompressionLevel level)
{
    Bytes content = randomBytes(300, 5, 256);
    Lzo1xCompressor compressor(level);
    while (content.size() < 600) {
        content.push_back(0);
        const std::vector<ByteSpan> inputs = segmentInputs(content, 0);
        if (!assembleEntry(content.size(), inputs, std::vector<Bytes>{compressor.compress(inputs[0])}))
            return content;
    }
    ADD_FAILURE() << "no content found";
    return content;
}

RFAArchive sampleArchive(CompressionLevel level)
{
    RFAArchive archive;
    const RFATreeNode::Ptr root = archive.root();
    root->addFileWithData(makeSharedBytes(Bytes{}), "empty.con");
    root->addFileWithData(makeSharedBytes(randomBytes(100000, 1, 7)), "levels/big.raw");
    root->addFileWithData(makeSharedBytes(storedAsLongAsItself(level)), "levels/equal.dds");
    root->addFileWithData(makeSharedBytes(randomBytes(5000, 2, 256)), "noise.bin");
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

std::vector<EntryRecord> recordsOf(ByteSpan file)
{
    const Result<ArchiveHeader> header = readArchiveHeader(file);
    std::vector<EntryRecord> records;
    std::uint64_t position = firstRecordPosition(*header);
    for (std::uint32_t i = 0; i < header->entryCount; ++i)
        records.push_back(*readEntryRecord(file, *header, position));
    return records;
}

TEST(CompressedArchive, ReadsBackAsTheTreeWithEveryEntryCompressed)
{
    for (const CompressionLevel level : kLevels) {
        const RFAArchive archive = sampleArchive(level);
        std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
        Bytes file;
        ASSERT_TRUE(archive.writeFileData([&](ByteSpan piece) { file.insert(file.end(), piece.begin(), piece.end()); },
                                          WriteOptions{level, 3}, [&](std::uint64_t done, std::uint64_t total) {
                                              reports.emplace_back(done, total);
                                              return true;
                                          }));
        EXPECT_EQ(littleIntAtPosition(file, 4), 1u);
        for (const EntryRecord& record : recordsOf(file)) {
            EXPECT_TRUE(record.compressed) << record.name;
            EXPECT_NE(record.storedSize, record.size) << record.name;
        }
        EXPECT_EQ(Bytes(recordsOf(file)[0].stored.begin(), recordsOf(file)[0].stored.end()),
                  (Bytes{1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11, 0x11, 0, 0}))
            << "the packer's empty file";

        const auto reread = RFAArchive::initWithData(file, {}, 2).value_or(nullptr);
        ASSERT_TRUE(reread);
        EXPECT_TRUE(reread->readCompressed());
        EXPECT_EQ(filesOf(*reread), filesOf(archive));

        ASSERT_FALSE(reports.empty());
        for (std::size_t i = 1; i < reports.size(); ++i) {
            EXPECT_GE(reports[i].first, reports[i - 1].first);
            EXPECT_EQ(reports[i].second, reports[0].second);
        }
        EXPECT_EQ(reports.back().first, reports.back().second);
    }
}

TEST(CompressedArchive, SameBytesWhateverTheNumberOfWorkers)
{
    for (const CompressionLevel level : kLevels) {
        const RFAArchive archive = sampleArchive(level);
        const std::optional<Bytes> one = archive.completeFileData({level, 1});
        ASSERT_TRUE(one);
        for (const unsigned workers : {2u, 5u})
            EXPECT_TRUE(archive.completeFileData({level, workers}) == one) << workers << " workers";
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

#ifdef LARKSPAN_TEST_LZO2
TEST(CompressedArchive, StreamsDecodeWithLiblzo2)
{
    ASSERT_EQ(lzo_init(), LZO_E_OK);
    const Bytes file = *sampleArchive(CompressionLevel::Best).completeFileData({CompressionLevel::Best});
    for (const EntryRecord& record : recordsOf(file)) {
        Bytes content;
        const std::uint32_t count = littleIntAtPosition(record.stored, 0);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t length = littleIntAtPosition(record.stored, 4 + 12 * i);
            const std::uint32_t size = littleIntAtPosition(record.stored, 8 + 12 * i);
            const std::size_t at = 4 + 12 * count + littleIntAtPosition(record.stored, 12 + 12 * i);
            if (size == 0)
                continue;
            Bytes segment(size);
            lzo_uint produced = size;
            ASSERT_EQ(lzo1x_decompress_safe(record.stored.data() + at, length, segment.data(), &produced, nullptr),
                      LZO_E_OK)
                << record.name << " segment " << i;
            ASSERT_EQ(produced, size);
            content.insert(content.end(), segment.begin(), segment.end());
        }
        EXPECT_EQ(content, *entryContent(record).value_or(nullptr)) << record.name;
    }
}
#endif

} // namespace
} // namespace larkspan
