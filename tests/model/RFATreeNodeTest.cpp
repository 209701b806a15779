#include "model/RFATreeEnumerator.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace larkspan {
namespace {

using fixtures::textBytes;

std::vector<std::string> childNames(const RFATreeNode& folder)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < folder.countOfChildren(); ++i)
        names.push_back(folder.objectInChildrenAtIndex(i)->name());
    return names;
}

std::vector<std::string> leafPaths(const RFATreeNode::Ptr& node)
{
    std::vector<std::string> paths;
    RFATreeEnumerator leaves = node->leafEnumerator();
    while (RFATreeNode::Ptr leaf = leaves.nextObject())
        paths.push_back(leaf->fullPath());
    return paths;
}

TEST(RFATreeNode, AddFileReusesFoldersButNeverFilesAndLookupsTakeTheFirstExactMatch)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("1"), "objects/a.con");
    root->addFileWithData(textBytes("22"), "objects/a.con");
    root->addFileWithData(textBytes("333"), "objects/b.con");
    ASSERT_EQ(childNames(*root), std::vector<std::string>{"objects"});
    const RFATreeNode::Ptr objects = root->childWithName("objects");
    EXPECT_EQ(childNames(*objects), (std::vector<std::string>{"a.con", "a.con", "b.con"}));
    EXPECT_EQ(objects->objectInChildrenAtIndex(1)->parent(), objects);
    EXPECT_EQ(root->fullSize(), 6u);
    EXPECT_EQ(root->leafCount(), 3u);

    EXPECT_FALSE(root->childWithName("Objects"));
    EXPECT_EQ(*objects->childWithName("a.con")->data(), *textBytes("1"));
    using Path = std::vector<std::string>;
    EXPECT_FALSE(root->childWithPathArray(Path{}));
    EXPECT_FALSE(root->childWithPathArray(Path{"objects", "missing"}));
    EXPECT_FALSE(root->childWithPathArray(Path{"objects", "a.con", "deeper"}));
    EXPECT_EQ(root->childWithPathArray(Path{"objects"}), objects);

    // A file named x does not stand in for a folder x.
    objects->addFileWithData(textBytes("f"), "x");
    objects->addFileWithData(textBytes("y"), "x/y");
    EXPECT_EQ(childNames(*objects), (std::vector<std::string>{"a.con", "a.con", "b.con", "x", "x"}));
    EXPECT_TRUE(objects->objectInChildrenAtIndex(3)->isLeaf());
    EXPECT_EQ(objects->objectInChildrenAtIndex(4)->fullPath(), "bf1942/objects/x/");
    EXPECT_EQ(leafPaths(root).back(), "bf1942/objects/x/y");

    // Below a file nothing is added.
    objects->objectInChildrenAtIndex(0)->addFileWithData(textBytes("z"), "z");
    EXPECT_EQ(objects->objectInChildrenAtIndex(0)->countOfChildren(), 0u);
}

// Indices past the end throw and change nothing, a folder never goes inside
// its own descendant, and removeChild takes out the child it is given, not
// whatever sits at that child's index or has its name; undo puts that very
// node back.
TEST(RFATreeNode, RefusesBadIndicesAndCyclesAndRemovesOnlyItsOwnChildren)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("x"), "a/b/x");
    root->addFileWithData(textBytes("1"), "c");
    root->addFileWithData(textBytes("2"), "c");
    EXPECT_THROW(root->objectInChildrenAtIndex(3), std::out_of_range);
    EXPECT_THROW(root->removeObjectFromChildrenAtIndex(3), std::out_of_range);
    EXPECT_THROW(root->insertObject(RFATreeNode::initAsDirectory("d"), 4), std::out_of_range);
    EXPECT_THROW(root->addFileWithData(textBytes("1"), std::vector<std::string>{}), std::out_of_range);
    EXPECT_EQ(childNames(*root), (std::vector<std::string>{"a", "c", "c"})) << "a refused edit changes nothing";
    const auto history = std::make_shared<UndoHistory>();
    root->setUndoManager(history);
    const RFATreeNode::Ptr a = root->childWithName("a");
    const RFATreeNode::Ptr b = a->childWithName("b");
    const RFATreeNode::Ptr second = root->objectInChildrenAtIndex(2);
    EXPECT_FALSE(root->removeChild(*b)) << "b sits at index 0 of a, not of the root";
    EXPECT_TRUE(root->removeChild(*second));
    EXPECT_EQ(childNames(*root), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(*root->objectInChildrenAtIndex(1)->data(), *textBytes("1"));
    EXPECT_FALSE(root->removeChild(*second)) << "no longer a child";
    EXPECT_EQ(second->parent(), root) << "a removed node keeps its parent link";
    history->undo();
    EXPECT_EQ(root->objectInChildrenAtIndex(2), second);
    ASSERT_TRUE(root->removeChild(*a));
    EXPECT_THROW(b->appendChild(a), std::logic_error);
}

TEST(RFATreeNode, ParentLinkDoesNotKeepParentAlive)
{
    RFATreeNode::Ptr child;
    {
        const RFATreeNode::Ptr root = RFATreeNode::init();
        root->addFileWithData(textBytes("c"), "c");
        child = root->objectInChildrenAtIndex(0);
    }
    EXPECT_FALSE(child->parent());
    EXPECT_EQ(child->fullPath(), "c");
}

TEST(RFATreeEnumerator, YieldsFilesInPreOrderAndSkipsEmptyFolders)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("a"), "a");
    root->appendChild(RFATreeNode::initAsDirectory("e", root));
    const RFATreeNode::Ptr nested = RFATreeNode::initAsDirectory("deep", root);
    nested->appendChild(RFATreeNode::initAsDirectory("deeper", nested));
    root->appendChild(nested);
    root->addFileWithData(textBytes("b"), "f/b");
    root->addFileWithData(textBytes("c"), "c");
    EXPECT_EQ(leafPaths(root), (std::vector<std::string>{"bf1942/a", "bf1942/f/b", "bf1942/c"}));
    EXPECT_EQ(root->leafCount(), 3u);

    EXPECT_TRUE(leafPaths(root->childWithName("a")).empty()) << "a file is not its own leaf";
}

} // namespace
} // namespace larkspan
