#include "base/ByteOrder.h"
#include "format/MagicHeader.h"
#include "model/RFAArchive.h"
#include "support/ArchiveBytes.h"
#include "model/RFATreeEnumerator.h"

#include <gtest/gtest.h>

#include <random>

namespace larkspan {
namespace {

Bytes headerAndMagic(std::uint32_t directoryOffset)
{
    Bytes out;
    appendLittleInt(out, directoryOffset);
    appendLittleInt(out, 0);
    out.insert(out.end(), kMagicHeader.begin(), kMagicHeader.end());
    return out;
}

TEST(RFAArchiveWriter, EmptyTreeIs164Bytes)
{
    Bytes expected = headerAndMagic(156);
    appendLittleInt(expected, 0);
    appendLittleInt(expected, 0);
    EXPECT_EQ(RFAArchive().completeFileData(), expected);
}

TEST(RFAArchiveWriter, SingleFileLayout)
{
    RFAArchive archive;
    archive.root()->addFileWithData(makeSharedBytes(Bytes{'h', 'i'}), "a.txt");
    Bytes expected = headerAndMagic(158);
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
    EXPECT_EQ(expected.size(), 206u);
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

    const auto reread = RFAArchive::initWithData(*archive.completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    std::vector<std::string> paths;
    RFATreeEnumerator leaves = reread->root()->leafEnumerator();
    while (RFATreeNode::Ptr leaf = leaves.nextObject())
        paths.push_back(leaf->fullPath());
    EXPECT_EQ(paths, (std::vector<std::string>{"bf1942/empty.con", "bf1942/new/name.con"}));
    EXPECT_FALSE(reread->root()->childWithName("hollow")) << "folders without files are not stored";
}

TEST(RFAArchiveWriter, NamesBeyondLatin1BecomeOneQuestionMarkPerCharacter)
{
    RFAArchive archive;
    archive.root()->addFileWithData(makeSharedBytes(Bytes{'x'}), "\u20ac\u00e9.con");
    const auto reread = RFAArchive::initWithData(*archive.completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->root()->objectInChildrenAtIndex(0)->name(), "?\u00e9.con");
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
    std::vector<std::pair<std::string, SharedBytes>> written;
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
        Bytes content(random() % 3 == 0 ? 0 : random() % 3000);
        for (std::uint8_t& b : content)
            b = static_cast<std::uint8_t>(random());
        parent->appendChild(RFATreeNode::initWithData(makeSharedBytes(std::move(content)), name, parent));
    }
    RFATreeEnumerator leaves = archive.root()->leafEnumerator();
    while (RFATreeNode::Ptr leaf = leaves.nextObject())
        written.emplace_back(leaf->fullPath(), leaf->data());

    const auto reread = RFAArchive::initWithData(*archive.completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    std::vector<std::pair<std::string, SharedBytes>> read;
    RFATreeEnumerator again = reread->root()->leafEnumerator();
    while (RFATreeNode::Ptr leaf = again.nextObject())
        read.emplace_back(leaf->fullPath(), leaf->data());
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].first, written[i].first);
        EXPECT_EQ(*read[i].second, *written[i].second) << read[i].first;
    }
}

TEST(RFAArchiveWriter, StreamingAndWholeFileAgree)
{
    RFAArchive archive;
    archive.root()->addFileWithData(makeSharedBytes(Bytes(5000, 7)), "a/b.raw");
    archive.root()->addFileWithData(makeSharedBytes(Bytes{1, 2, 3}), "c.con");
    Bytes streamed;
    std::uint64_t lastDone = 0, lastTotal = 0;
    ASSERT_TRUE(archive.writeFileData(
        [&](ByteSpan piece) { streamed.insert(streamed.end(), piece.begin(), piece.end()); },
        [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastTotal = total;
        }));
    EXPECT_EQ(streamed, archive.completeFileData());
    EXPECT_EQ(lastDone, streamed.size());
    EXPECT_EQ(lastTotal, streamed.size());
}

} // namespace
} // namespace larkspan
