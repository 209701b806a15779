#include "support/FailingDisk.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"
#include "fs/FileWrapper.h"
#include "model/RFATreeNode.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>


namespace larkspan {
namespace {

using fixtures::textBytes;

namespace fs = std::filesystem;

TEST(FileWrapper, DescribesTheSubtree)
{
    const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory("maps");
    folder->addFileWithData(textBytes("con"), "x.con");
    folder->addFileWithData(textBytes("dds"), "y.dds");
    folder->addFileWithData(textBytes("later"), "x.con");
    folder->appendChild(RFATreeNode::initAsDirectory("empty", folder));
    const FileWrapper wrapper = *folder->fileWrapper();
    EXPECT_EQ(wrapper.preferredFilename, "maps");
    EXPECT_TRUE(wrapper.isDirectory());
    ASSERT_EQ(wrapper.entries.size(), 3u);
    EXPECT_EQ(*wrapper.entries.at("x.con").contents, *textBytes("later")) << "of two same names the later stays";
    EXPECT_EQ(wrapper.entries.at("y.dds").contents, folder->childWithName("y.dds")->data()) << "shared, not copied";
    EXPECT_TRUE(wrapper.entries.at("empty").entries.empty());
    EXPECT_TRUE(RFATreeNode::initWithData(textBytes(""), "zero")->fileWrapper()->contents->empty());
}

// A symbolic link at or below the chosen folder could lead anywhere: nothing
// is written through one. The chosen folder itself may be a link.
TEST(FileWrapper, NeverWritesThroughASymbolicLink)
{
    struct Case {
        const char* name;
        const char* link;   // made below the chosen folder, to `elsewhere`
        bool linkToFile;
        bool refused;
    };
    const Case cases[] = {
        {"a link as a folder of the entry", "mod", false, true},
        {"a link deeper down", "mod/levels", false, true},
        {"a link in the file's place", "mod/levels/a.con", true, true},
        {"no link at all", nullptr, false, false},
    };
    for (const Case& c : cases) {
        fixtures::TemporaryFolder temp;
        const fs::path chosen = temp.path() / "out";
        const fs::path elsewhere = temp.path() / "elsewhere";
        fs::create_directories(chosen / "mod" / "levels");
        fs::create_directory(elsewhere);
        temp.write("elsewhere/a.con", "theirs");
        if (c.link) {
            fs::remove_all(chosen / c.link);
            if (c.linkToFile)
                fs::create_symlink(elsewhere / "a.con", chosen / c.link);
            else
                fs::create_directory_symlink(elsewhere, chosen / c.link);
        }
        FileWrapper levels{"levels", nullptr, {{"a.con", {"a.con", textBytes("ours"), {}}}}};
        const FileWrapper mod{"mod", nullptr, {{"levels", levels}}};
        const WriteOut result = writeFileWrapper(mod, chosen);
        EXPECT_EQ(readWholeFile(elsewhere / "a.con"), (Bytes{'t', 'h', 'e', 'i', 'r', 's'})) << c.name;
        EXPECT_FALSE(fs::exists(elsewhere / "levels")) << c.name;
        ASSERT_EQ(result.problems().size(), c.refused ? 1u : 0u) << c.name;
        if (c.refused) {
            EXPECT_EQ(result.problems().front().error, (Error{ErrorCode::SymbolicLink, (chosen / c.link).string()}))
                << c.name;
        }
    }

    fixtures::TemporaryFolder temp;
    fs::create_directory(temp.path() / "real");
    fs::create_directory_symlink(temp.path() / "real", temp.path() / "chosen");
    const WriteOut through = writeFileWrapper(FileWrapper{"a.con", textBytes("a"), {}}, temp.path() / "chosen");
    EXPECT_TRUE(through.problems().empty());
    EXPECT_TRUE(fs::exists(temp.path() / "real" / "a.con")) << "the chosen folder is the user's choice";
}

TEST(FileWrapper, WriteFailuresAreCollectedAndTheRestWritten)
{
    fixtures::TemporaryFolder temp;
    temp.write("mod", "a file where the folder should go");
    FileWrapper root{"mod", nullptr, {{"a.con", {"a.con", textBytes("a"), {}}}}};
    FileWrapper sibling{"other.con", textBytes("o"), {}};
    const WriteOut failed = writeFileWrapper(root, temp.path());
    ASSERT_EQ(failed.problems().size(), 1u) << "the folder, not the file below it";
    EXPECT_EQ(failed.problems().front().error.code, ErrorCode::FileInTheWay);
    EXPECT_TRUE(failed.written().empty());
    EXPECT_EQ(writeFileWrapper(sibling, temp.path()).written().size(), 1u);

    // The files are flushed together at the end; a failing flush is reported.
    fixtures::FailingDisk flushFails;
    flushFails.syncFails = true;
    const WriteOut unflushed = writeFileWrapper(sibling, temp.path(), flushFails);
    EXPECT_EQ(unflushed.written().size(), 1u);
    ASSERT_EQ(unflushed.problems().size(), 1u);
    EXPECT_EQ(unflushed.problems().front().error.code, ErrorCode::CannotFlush);
}

} // namespace
} // namespace larkspan
