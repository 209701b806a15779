#include "support/TemporaryFolder.h"
#include "model/FileSystemImport.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace larkspan {
namespace {

namespace fs = std::filesystem;
using fixtures::TemporaryFolder;

std::vector<std::string> sortedChildNames(const RFATreeNode& folder)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < folder.countOfChildren(); ++i)
        names.push_back(folder.objectInChildrenAtIndex(i)->name());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileSystemImport, FoldersWithHiddenFilesSingleFilesAndNothing)
{
    TemporaryFolder temp;
    temp.write("imp/a.con", "a");
    temp.write("imp/.hidden", "");
    temp.write("imp/sub/b.txt", "bee");
    const RFATreeNode::Ptr root = RFATreeNode::init();
    const auto history = std::make_shared<UndoHistory>();
    root->setUndoManager(history);

    std::vector<SkippedImport> skipped;
    const RFATreeNode::Ptr imported = nodeFromFile(temp.path() / "imp/", root, &skipped);
    ASSERT_TRUE(imported);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(imported->name(), "imp");
    EXPECT_EQ(imported->parent(), root);
    EXPECT_FALSE(imported->indexInParent()) << "not inserted";
    EXPECT_EQ(imported->undoManager(), history);
    EXPECT_EQ(sortedChildNames(*imported), (std::vector<std::string>{".hidden", "a.con", "sub"}));

    root->appendChild(imported);
    const RFATreeNode::Ptr b = imported->childWithPathArray(std::vector<std::string>{"sub", "b.txt"});
    ASSERT_TRUE(b);
    EXPECT_EQ(b->fullPath(), "bf1942/imp/sub/b.txt");
    EXPECT_EQ(std::string(b->data()->begin(), b->data()->end()), "bee");
    EXPECT_TRUE(imported->childWithName(".hidden")->isLeaf());

    const RFATreeNode::Ptr empty = nodeFromFile(temp.path() / "imp/.hidden", nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isLeaf() && empty->data()->empty()) << "a single empty file";
    EXPECT_FALSE(nodeFromFile(temp.path() / "missing", nullptr, &skipped));
    EXPECT_TRUE(skipped.empty()) << "a path to nothing is no error, only nothing";
}

TEST(FileSystemImport, SkipsAndReportsWhatCannotBeTaken)
{
    TemporaryFolder temp;
    temp.write("mod/ok.con", "ok");
    fs::create_directory_symlink(temp.path() / "mod", temp.path() / "mod/loop");
    fs::create_symlink(temp.path() / "nowhere", temp.path() / "mod/dangling");
    ASSERT_EQ(::mkfifo((temp.path() / "mod/pipe").c_str(), 0600), 0);
    // Reading at offset 0 of a process's memory fails for every user, root included.
    fs::create_symlink("/proc/self/mem", temp.path() / "mod/unreadable");

    std::vector<SkippedImport> skipped;
    const RFATreeNode::Ptr mod = nodeFromFile(temp.path() / "mod", nullptr, &skipped);
    ASSERT_TRUE(mod);
    EXPECT_EQ(sortedChildNames(*mod), std::vector<std::string>{"ok.con"});
    std::vector<std::pair<std::string, ImportProblem>> reported;
    for (const SkippedImport& s : skipped)
        reported.emplace_back(s.path.filename().string(), s.problem);
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported, (std::vector<std::pair<std::string, ImportProblem>>{
                            {"dangling", ImportProblem::Missing},
                            {"loop", ImportProblem::LinkLoop},
                            {"pipe", ImportProblem::SpecialFile},
                            {"unreadable", ImportProblem::Unreadable}}));
}

} // namespace
} // namespace larkspan
