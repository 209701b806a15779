// Entries of an archive opened with Decoding::WhenRead hold their stored
// bytes until read; what they read as, and what a damaged one reports, is
// what decoding while reading gives.

#include "format/EntryCompression.h"
#include "format/StoredContent.h"
#include "fs/FileWrapper.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::StoredEntry;

std::vector<RFATreeNode::Ptr> leavesOf(const RFAArchive& archive)
{
    std::vector<RFATreeNode::Ptr> leaves;
    RFATreeEnumerator walk = archive.root()->leafEnumerator();
    while (RFATreeNode::Ptr leaf = walk.nextObject())
        leaves.push_back(std::move(leaf));
    return leaves;
}

StoredEntry compressed(std::string name, const Bytes& content)
{
    return {std::move(name), compressEntry(content, CompressionLevel::Fast), static_cast<std::uint32_t>(content.size())};
}

Bytes patterned(std::size_t length)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 9));
    return bytes;
}

TEST(DecodeWhenRead, ReadsAsDecodingWhileReadingDoes)
{
    // Several segments, a raw entry in a compressed archive, an empty one.
    const Bytes file = fixtures::archiveOf(
        {compressed("bf1942/big.dds", patterned(100'000)), fixtures::rawEntry("bf1942/raw.wav", patterned(50)),
         compressed("bf1942/levels/a.con", fixtures::bytesOf("run a\r\n")), compressed("bf1942/empty.con", {})},
        1);
    const auto lazy = RFAArchive::initWithFile(makeSharedBytes(file), RFAArchive::Decoding::WhenRead);
    const auto eager = RFAArchive::initWithData(file);
    ASSERT_TRUE(lazy);
    ASSERT_TRUE(eager);
    EXPECT_TRUE((*lazy)->readCompressed());
    const std::vector<RFATreeNode::Ptr> lazyLeaves = leavesOf(**lazy);
    const std::vector<RFATreeNode::Ptr> eagerLeaves = leavesOf(**eager);
    ASSERT_EQ(lazyLeaves.size(), 4u);
    ASSERT_EQ(eagerLeaves.size(), 4u);
    for (std::size_t i = 0; i < lazyLeaves.size(); ++i) {
        const RFATreeNode& entry = *lazyLeaves[i];
        SCOPED_TRACE(entry.fullPath());
        ASSERT_TRUE(entry.storedContent());
        EXPECT_FALSE(entry.storedContent()->decoded()) << "nothing decoded by opening";
        EXPECT_EQ(entry.size(), eagerLeaves[i]->data()->size()) << "sizes known before decoding";
        EXPECT_EQ(*entry.data(), *eagerLeaves[i]->data());
        EXPECT_EQ(entry.data(), entry.data()) << "decoded once";
        EXPECT_EQ((*lazy)->storedSizeOf(entry), (*eager)->storedSizeOf(*eagerLeaves[i]));
    }

    // The stored size holds while the entry holds the bytes it was read with.
    const RFATreeNode::Ptr entry = lazyLeaves[2];
    const std::optional<std::uint32_t> stored = (*lazy)->storedSizeOf(*entry);
    ASSERT_TRUE(stored);
    const SharedBytes original = entry->data();
    entry->setData(makeSharedBytes(fixtures::bytesOf("new")));
    EXPECT_FALSE((*lazy)->storedSizeOf(*entry)) << "new bytes";
    EXPECT_EQ(entry->size(), 3u);
    entry->setData(original);
    EXPECT_EQ((*lazy)->storedSizeOf(*entry), stored) << "the read bytes given back";
    EXPECT_EQ((*lazy)->storedSizeOf(*entry->copy()), stored);
    (*lazy)->forgetStoredSizes();
    EXPECT_FALSE((*lazy)->storedSizeOf(*entry));
}

TEST(DecodeWhenRead, DamagedEntryGivesTheErrorOpeningWouldHave)
{
    // The end marker alone decodes to nothing, not to the five bytes declared.
    const Bytes endOnly{0x11, 0x00, 0x00};
    struct Case {
        const char* what;
        Bytes stored;
        bool opens; // when decoding only what is read
    };
    const std::vector<Case> cases = {
        {"stream", fixtures::segmentedEntry({{endOnly, 5}}), true},
        {"segment table", fixtures::segmentedEntry({{endOnly, 5, 100}}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = fixtures::archiveOf(
            {compressed("bf1942/good.con", fixtures::bytesOf("good")), {"bf1942/bad.con", c.stored, 5}}, 1);
        const Error damaged{ErrorCode::Decompression, "bf1942/bad.con"};
        EXPECT_EQ(RFAArchive::initWithData(file).error(), damaged);
        const auto lazy = RFAArchive::initWithFile(makeSharedBytes(file), RFAArchive::Decoding::WhenRead);
        ASSERT_EQ(bool(lazy), c.opens);
        if (!lazy) {
            EXPECT_EQ(lazy.error(), damaged);
            continue;
        }
        const RFAArchive& archive = **lazy;
        const RFATreeNode::Ptr bad = archive.root()->childWithName("bad.con");
        EXPECT_EQ(bad->readData().error(), damaged);
        EXPECT_TRUE(bad->data()->empty());
        EXPECT_EQ(loadContents(archive.rootNodes()).error(), damaged);
        EXPECT_EQ(archive.entries().error(), damaged);
        EXPECT_EQ(archive.writeFileData([](ByteSpan) {}, WriteOptions{}).error(), damaged);
        EXPECT_EQ(archive.root()->fileWrapper().error(), damaged);
        EXPECT_EQ(*archive.root()->childWithName("good.con")->readData().value_or(nullptr), fixtures::bytesOf("good"));
    }
}

} // namespace
} // namespace larkspan
