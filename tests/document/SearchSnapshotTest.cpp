#include "document/SearchSnapshot.h"
#include "support/ArchiveBytes.h"
#include "support/PathComponents.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::textBytes;

std::vector<std::string> namesAt(const std::vector<RFATreeNode::Ptr>& nodes, const std::vector<std::size_t>& found)
{
    std::vector<std::string> names;
    for (std::size_t i : found)
        names.push_back(nodes[i]->name());
    return names;
}

// The snapshot finds by the search rule, and goes on finding in the bytes
// it was taken with after the tree has changed.
TEST(SearchSnapshot, FindsWhatTheTreeHeldWhenItWasTaken)
{
    const RFATreeNode::Ptr root = RFATreeNode::init();
    root->addFileWithData(textBytes("ObjectTemplate.create Tank"), "objects/tank.con");
    root->addFileWithData(textBytes("tank template"), "textures/tank.dds");
    root->addFileWithData(textBytes("Ich m\xF6" "chte"), "menu/readme.txt");
    const std::vector<RFATreeNode::Ptr> nodes = SearchSnapshot::entriesInTreeOrder({root});
    const SearchSnapshot snapshot(nodes);
    struct Case {
        std::string text;
        bool names, contents;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"TANK", true, false, {"tank.con", "tank.dds"}},
        {"template", false, true, {"tank.con"}}, // a picture's bytes are no text
        {"me", true, true, {"menu", "readme.txt"}},
        {"MOCH", false, true, {"readme.txt"}}, // ö is an o
        {"tank", false, false, {}},
        {"", true, true, {}},
    };
    const std::atomic<bool> running{false};
    for (const Case& c : cases) {
        const std::optional<std::vector<std::size_t>> found = snapshot.search(c.text, c.names, c.contents, running);
        ASSERT_TRUE(found) << c.text;
        EXPECT_EQ(namesAt(nodes, *found), c.expected) << c.text;
    }

    root->childWithPathArray(fixtures::pathComponents("objects/tank.con"))->setData(textBytes("gone"));
    EXPECT_EQ(namesAt(nodes, *snapshot.search("template", false, true, running)), std::vector<std::string>{"tank.con"});
    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(snapshot.search("tank", true, true, cancelled));
}

} // namespace
} // namespace larkspan
