// Archives as the writer lays them out: the exact bytes of small ones,
// every file under its current path, compressed entries in the packer's
// segments on any number of threads, and a stopped save that leaves the old
// file alone.

#include "base/ByteOrder.h"
#include "format/ArchiveDirectory.h"
#include "format/EntryCompression.h"
#include "format/MagicHeader.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace larkspan {
namespace {

// Path and bytes of every file below `root`, in the writer's order.
std::vector<std::pair<std::string, Bytes>> filesOf(const RFATreeNode::Ptr& root)
{
    std::vector<std::pair<std::string, Bytes>> files;
    RFATreeEnumerator leaves = root->leafEnumerator();
    while (const RFATreeNode::Ptr leaf = leaves.nextObject())
        files.emplace_back(leaf->fullPath(), *leaf->data());
    return files;
}

Bytes randomBytes(std::size_t n, std::uint32_t seed, int alphabet)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random() % alphabet);
    return bytes;
}

TEST(RFAArchiveWriter, SingleFileLayout)
{
    RFAArchive archive;
    archive.root()->addFileWithData(makeSharedBytes(Bytes{'h', 'i'}), "a.txt");
    Bytes expected;
    appendLittleInt(expected, 158);
    appendLittleInt(expected, 0);
    expected.insert(expected.end(), kMagicHeader.begin(), kMagicHeader.end());
    expected.insert(expected.end(), {'h', 'i'});
    appendLittleInt(expected, 1);
    appendLittleInt(expected, 12);
    fixtures::appendText(expected, "bf1942/a.txt");
    appendLittleInt(expected, 2);
    appendLittleInt(expected, 2);
    appendLittleInt(expected, 156);
    expected.insert(expected.end(), {0xE0, 0x21, 0x13, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    appendLittleInt(expected, 0);
    EXPECT_EQ(archive.completeFileData(), expected);
}

TEST(RFAArchiveWriter, WritesEveryFileUnderItsCurrentPath)
{
    RFAArchive archive;
    const RFATreeNode::Ptr root = archive.root();
    const RFATreeNode::Ptr hollow = RFATreeNode::initAsDirectory("hollow", root);
    hollow->appendChild(RFATreeNode::initAsDirectory("inner", hollow));
    root->appendChild(hollow);
    root->addFileWithData(makeSharedBytes(Bytes{}), "empty.con");
    root->addFileWithData(makeSharedBytes(Bytes{'x'}), "old/name.con");
    root->childWithName("old")->setName("new");
    // Names beyond Latin-1 take one question mark per character.
    root->addFileWithData(makeSharedBytes(Bytes{'y'}), "\u20ac\u00e9.con");

    const auto reread = RFAArchive::initWithData(*archive.completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    EXPECT_EQ(filesOf(reread->root()),
              (std::vector<std::pair<std::string, Bytes>>{
                  {"bf1942/empty.con", {}}, {"bf1942/new/name.con", {'x'}}, {"bf1942/?\u00e9.con", {'y'}}}));
    EXPECT_FALSE(reread->root()->childWithName("hollow")) << "folders without files are not stored";
}

// A random tree with binary contents, empty files, deep folders and
// duplicate file names reads back as the same files in the same order.
// (Sibling folders of one name cannot survive: on reading, a path goes
// through the first folder of its name.)
TEST(RFAArchiveWriter, RandomTreeRoundTrips)
{
    std::mt19937 random(1942);
    RFAArchive archive;
    std::vector<RFATreeNode::Ptr> folders{archive.root()};
    for (int i = 0; i < 400; ++i) {
        const RFATreeNode::Ptr parent = folders[random() % folders.size()];
        const std::string name = "n" + std::to_string(random() % 40);
        if (random() % 4 == 0) {
            const std::string folderName = name + "." + std::to_string(i);
            const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(folderName, parent);
            parent->appendChild(folder);
            folders.push_back(folder);
            continue;
        }
        const Bytes content = randomBytes(random() % 3 == 0 ? 0 : random() % 3000, random(), 256);
        parent->appendChild(RFATreeNode::initWithData(makeSharedBytes(content), name, parent));
    }
    const auto reread = RFAArchive::initWithData(*archive.completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    EXPECT_EQ(filesOf(reread->root()), filesOf(archive.root()));
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
        }
        const auto reread = RFAArchive::initWithData(file, {}, 2).value_or(nullptr);
        ASSERT_TRUE(reread);
        EXPECT_TRUE(reread->readCompressed());
        EXPECT_EQ(filesOf(reread->root()), filesOf(archive.root()));

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
