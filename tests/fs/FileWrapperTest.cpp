#include "support/FailingDisk.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"
#include "fs/FileWrapper.h"
#include "model/RFATreeNode.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(FileWrapper, WritesOutNeverOutsideTheDestination)
{
    fixtures::TemporaryFolder temp;
    const fs::path out = temp.path() / "out";
    fs::create_directory(out);
    FileWrapper root{"mod", nullptr, {}};
    for (const char* hostile : {"..", ".", "", "a/b", "back\\slash"})
        root.entries[hostile] = FileWrapper{hostile, textBytes("evil"), {}};
    root.entries["sub"] = FileWrapper{"sub", nullptr, {{"..", FileWrapper{"..", nullptr, {{"x", {"x", textBytes("x"), {}}}}}}}};
    root.entries["ok.con"] = FileWrapper{"ok.con", textBytes("fine"), {}};
    temp.write("out/mod/ok.con", "old");

    const WriteOut result = writeFileWrapper(root, out);
    EXPECT_EQ(result.written(), std::vector<fs::path>{out / "mod" / "ok.con"});
    EXPECT_EQ(readWholeFile(out / "mod" / "ok.con"), (Bytes{'f', 'i', 'n', 'e'}));
    ASSERT_EQ(result.problems().size(), 6u) << "one for each bad name, none for what lies below one";
    const std::set<ErrorCode> unsafe{ErrorCode::ParentFolder, ErrorCode::CurrentFolder, ErrorCode::EmptyComponent,
                                     ErrorCode::Separator};
    for (const WriteOutProblem& problem : result.problems())
        EXPECT_TRUE(unsafe.contains(problem.error.code)) << describe(problem.error).text;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temp.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "nothing but ok.con was written anywhere";
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

TEST(FileWrapper, ExistingFilesAreAskedAboutOneByOne)
{
    fixtures::TemporaryFolder temp;
    temp.write("mod/a.con", "old a");
    temp.write("mod/c.con", "old c");
    const FileWrapper mod{"mod", nullptr,
                          {{"a.con", {"a.con", textBytes("new a"), {}}},
                           {"b.con", {"b.con", textBytes("new b"), {}}},
                           {"c.con", {"c.con", textBytes("new c"), {}}}}};
    WriteOut out(writeOutItems(mod), temp.path());
    ASSERT_FALSE(out.run(ExistingFiles::Ask));
    EXPECT_EQ(out.pending().components, (std::vector<std::string>{"mod", "a.con"}));
    EXPECT_EQ(out.remaining(), 3u);
    out.keepPending();
    ASSERT_FALSE(out.run(ExistingFiles::Ask));
    EXPECT_EQ(out.pending().components.back(), "c.con");
    out.replacePending();
    EXPECT_TRUE(out.run(ExistingFiles::Ask));
    EXPECT_EQ(readWholeFile(temp.path() / "mod/a.con"), (Bytes{'o', 'l', 'd', ' ', 'a'}));
    EXPECT_EQ(readWholeFile(temp.path() / "mod/c.con"), (Bytes{'n', 'e', 'w', ' ', 'c'}));
    EXPECT_EQ(out.written(), (std::vector<fs::path>{temp.path() / "mod/b.con", temp.path() / "mod/c.con"}));
    EXPECT_EQ(out.kept(), std::vector<fs::path>{temp.path() / "mod/a.con"});
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
