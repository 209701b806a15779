#include "support/TemporaryFolder.h"
#include "tree/FileIO.h"
#include "tree/FileWrapper.h"
#include "tree/RFATreeNode.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

namespace fs = std::filesystem;

SharedBytes bytes(std::string_view text)
{
    return makeSharedBytes(Bytes(text.begin(), text.end()));
}

TEST(FileWrapper, DescribesTheSubtree)
{
    const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory("maps");
    folder->addFileWithData(bytes("con"), "x.con");
    folder->addFileWithData(bytes("dds"), "y.dds");
    folder->addFileWithData(bytes("later"), "x.con");
    folder->appendChild(RFATreeNode::initAsDirectory("empty", folder));
    const FileWrapper wrapper = folder->fileWrapper();
    EXPECT_EQ(wrapper.preferredFilename, "maps");
    EXPECT_TRUE(wrapper.isDirectory());
    ASSERT_EQ(wrapper.entries.size(), 3u);
    EXPECT_EQ(*wrapper.entries.at("x.con").contents, *bytes("later")) << "of two same names the later stays";
    EXPECT_EQ(wrapper.entries.at("y.dds").contents, folder->childWithName("y.dds")->data()) << "shared, not copied";
    EXPECT_TRUE(wrapper.entries.at("empty").entries.empty());
    EXPECT_TRUE(RFATreeNode::initWithData(bytes(""), "zero")->fileWrapper().contents->empty());
}

TEST(FileWrapper, WritesOutNeverOutsideTheDestination)
{
    fixtures::TemporaryFolder temp;
    const fs::path out = temp.path() / "out";
    fs::create_directory(out);
    FileWrapper root{"mod", nullptr, {}};
    for (const char* hostile : {"..", ".", "", "a/b", "back\\slash"})
        root.entries[hostile] = FileWrapper{hostile, bytes("evil"), {}};
    root.entries["sub"] = FileWrapper{"sub", nullptr, {{"..", FileWrapper{"..", nullptr, {{"x", {"x", bytes("x"), {}}}}}}}};
    root.entries["ok.con"] = FileWrapper{"ok.con", bytes("fine"), {}};
    temp.write("out/mod/ok.con", "old");

    const WriteOutResult result = writeFileWrapper(root, out);
    EXPECT_EQ(result.writtenFiles, std::vector<fs::path>{out / "mod" / "ok.con"});
    EXPECT_EQ(readWholeFile(out / "mod" / "ok.con"), (Bytes{'f', 'i', 'n', 'e'}));
    EXPECT_EQ(result.skipped.size(), 6u);
    EXPECT_TRUE(result.failures.empty());
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temp.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "nothing but ok.con was written anywhere";
}

TEST(FileWrapper, WriteFailuresAreCollectedAndTheRestWritten)
{
    fixtures::TemporaryFolder temp;
    temp.write("mod", "a file where the folder should go");
    FileWrapper root{"mod", nullptr, {{"a.con", {"a.con", bytes("a"), {}}}}};
    FileWrapper sibling{"other.con", bytes("o"), {}};
    const WriteOutResult failed = writeFileWrapper(root, temp.path());
    EXPECT_EQ(failed.failures.size(), 1u);
    EXPECT_TRUE(failed.writtenFiles.empty());
    EXPECT_EQ(writeFileWrapper(sibling, temp.path()).writtenFiles.size(), 1u);

    // The files are flushed together at the end; a failing flush is reported.
    FileWriteFaults flushFails;
    flushFails.syncFails = true;
    const ScopedFileWriteFaults faults(flushFails);
    const WriteOutResult unflushed = writeFileWrapper(sibling, temp.path());
    EXPECT_EQ(unflushed.writtenFiles.size(), 1u);
    ASSERT_EQ(unflushed.failures.size(), 1u);
    EXPECT_EQ(unflushed.failures.front().failure, FileFailure::Write);
}

} // namespace
} // namespace larkspan
