#include "model/RFATreeNode.h"
#include "model/SearchPredicate.h"
#include "model/UndoHistory.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::textBytes;

std::vector<std::string> paths(const std::vector<RFATreeNode::Ptr>& nodes)
{
    std::vector<std::string> out;
    for (const RFATreeNode::Ptr& node : nodes)
        out.push_back(node->fullPath());
    return out;
}

TEST(DeepCopy, SameShapeSharingNothingMutable)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("t"), "objects/tanks/tank.con");
    root->addFileWithData(textBytes(""), "objects/empty.con");
    const auto history = std::make_shared<UndoHistory>();
    root->setUndoManager(history);

    const RFATreeNode::Ptr objects = root->childWithName("objects");
    const RFATreeNode::Ptr copied = objects->copy();
    EXPECT_FALSE(copied->parent());
    EXPECT_EQ(copied->undoManager(), history);
    EXPECT_TRUE(copied->childWithName("empty.con")->isLeaf()) << "a copied empty file stays a file";
    const RFATreeNode::Ptr other = RFATreeNode::initAsDirectory("mod");
    other->appendChild(copied);
    const RFATreeNode::Ptr tanks = copied->childWithName("tanks");
    EXPECT_EQ(tanks->childWithName("tank.con")->fullPath(), "mod/objects/tanks/tank.con");

    // Changes in one tree never show in the other.
    tanks->setName("planes");
    tanks->childWithName("tank.con")->setData(textBytes("changed"));
    copied->removeObjectFromChildrenAtIndex(1);
    EXPECT_EQ(objects->childWithPathArray(std::vector<std::string>{"tanks", "tank.con"})->data()->size(), 1u);
    EXPECT_EQ(objects->countOfChildren(), 2u);
}

TEST(SearchRule, FoldsCaseAndDiacriticsOverLatin1)
{
    struct Case {
        const char* needle;
        const char* name;
        bool found;
    };
    for (const Case& c : {Case{"CON", "tank.con", true}, Case{"e", "\u00c9t\u00e9", true},
                          Case{"\u00e9", "MAP.E", true}, Case{"ete", "\u00e9T\u00c8", true},
                          Case{"o", "\u00d8l", false}, Case{"\u00f8", "\u00d8l", true},
                          Case{"\u20ac", "\u20ac5.con", true}, Case{"tank", "tan", false},
                          Case{"a", "", false}, Case{"ss", "stra\u00dfe", false}, Case{"arhus", "\u00c5rhus", true}}) {
        EXPECT_EQ(FoldedPattern(c.needle).foundInUtf8(c.name), c.found) << c.needle << " in " << c.name;
    }
}

TEST(SearchRule, ContentsAreSearchedInTheirBytes)
{
    const FoldedPattern pattern("V\u00e9hicle");
    const Bytes text = {'a', ' ', 'v', 'e', 'H', 0xCF, 'c', 'l', 'e', '\r', '\n'};
    EXPECT_TRUE(pattern.foundInLatin1(text));
    EXPECT_FALSE(pattern.foundInLatin1(ByteSpan(text).first(8)));
    EXPECT_FALSE(FoldedPattern("\u20ac").foundInLatin1(Bytes{0x80, 0xA4})) << "no Latin-1 text holds a euro sign";
    // Every position of a longer text, including the very start and end.
    Bytes haystack(1000, 'x');
    for (std::size_t at : {std::size_t{0}, std::size_t{1}, std::size_t{500}, std::size_t{996}}) {
        Bytes withNeedle = haystack;
        std::copy_n("Tank", 4, withNeedle.begin() + static_cast<std::ptrdiff_t>(at));
        EXPECT_TRUE(FoldedPattern("tANK").foundInLatin1(withNeedle)) << at;
    }
    EXPECT_FALSE(FoldedPattern("tank").foundInLatin1(haystack));
}

TEST(SearchRule, PredicateWalkIsPreOrderOverEveryNode)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("spawn tank"), "objects/tank.con");
    root->addFileWithData(textBytes("tank"), "objects/tank.dds");
    root->addFileWithData(textBytes("nothing"), "tanks/b.con");
    root->addFileWithData(textBytes("TANK here"), "a.txt");

    struct Case {
        const char* text;
        bool names;
        bool contents;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"tank", false, false, {}},
        {"", true, true, {}},
        {"tank", true, false, {"bf1942/objects/tank.con", "bf1942/objects/tank.dds", "bf1942/tanks/"}},
        {"tank", false, true, {"bf1942/objects/tank.con", "bf1942/a.txt"}},
        {"tank", true, true, {"bf1942/objects/tank.con", "bf1942/objects/tank.dds", "bf1942/tanks/", "bf1942/a.txt"}},
        {"BF1942", true, false, {"bf1942/"}},
        {"o", true, false, {"bf1942/objects/", "bf1942/objects/tank.con", "bf1942/tanks/b.con"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paths(root->nodesMatchingPredicate(searchPredicate(c.text, c.names, c.contents))), c.found)
            << c.text << ' ' << c.names << c.contents;
}

} // namespace
} // namespace larkspan
