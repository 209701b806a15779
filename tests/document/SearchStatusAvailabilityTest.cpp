#include "document/DocumentTestSupport.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;
using fixtures::Entries;

Entries twelveEntries()
{
    Entries entries;
    for (int i = 0; i < 12; ++i)
        entries.emplace_back("bf1942/objects/e" + std::to_string(i) + ".con", std::string(i == 3 ? 2048 : 1, 'x'));
    entries.emplace_back("bf1942/one/only.con", "o");
    entries.emplace_back("bf1942/other/a.con", "aaa");
    return entries;
}

TEST(StatusBar, BrowseRows)
{
    DocumentFixture doc(twelveEntries());
    struct Case {
        std::vector<std::string> selection;
        std::string text;
    };
    const Case cases[] = {
        {{}, "1 object, 3 KB"},
        {{"objects/e3.con"}, "1 object of 12 selected, 2 KB"},
        {{"objects"}, "12 objects, 0 Bytes"},
        {{"one"}, "1 object, 0 Bytes"},
        {{"objects/e1.con", "other/a.con"}, "2 objects of 12 selected, 4 Bytes"},
        {{"one", "objects/e3.con"}, "2 objects of 3 selected, 2 KB"},
    };
    for (const Case& c : cases) {
        std::vector<RFATreeNode::Ptr> nodes;
        for (const std::string& path : c.selection)
            nodes.push_back(doc.at(path));
        doc.document->setSelection(nodes);
        EXPECT_EQ(doc.document->statusBarText(), c.text);
    }
    doc.document->setSelection({doc.root()});
    EXPECT_EQ(doc.document->statusBarText(), "3 objects, 0 Bytes");
    DocumentFixture empty;
    empty.root()->removeObjectFromChildrenAtIndex(0);
    empty.document->setSelection({empty.root()->copy()});
    empty.document->setSelection({});
    EXPECT_EQ(empty.document->statusBarText(), "1 object, 0 Bytes");
}

TEST(StatusBar, SearchRows)
{
    DocumentFixture doc(twelveEntries());
    doc.document->setSearchDefaults(true, false);
    doc.document->search("nothing like it");
    EXPECT_EQ(doc.document->statusBarText(), "0 objects, 0 Bytes");
    doc.document->search("only");
    EXPECT_EQ(doc.document->statusBarText(), "1 object, 1 Bytes");
    doc.document->search(".con");
    ASSERT_EQ(doc.document->foundEntries().size(), 14u);
    const auto& found = doc.document->foundEntries();
    doc.document->setSelection({found[3]});
    EXPECT_EQ(doc.document->statusBarText(), "1 object of 14 selected, 2 KB");
    doc.document->setSelection({found[0], found[1], found[13]});
    EXPECT_EQ(doc.document->statusBarText(), "3 objects of 14 selected, 5 Bytes");
    doc.document->setSelection({});
    EXPECT_EQ(doc.document->statusBarText(), "14 objects, 3 KB");
}

TEST(Availability, BothModes)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "t"}});
    struct Case {
        bool searching;
        std::vector<std::string> selection; // "" is the root
        bool extract, del, add, newFolder;
    };
    const Case cases[] = {
        {false, {}, false, false, false, false},
        {false, {""}, true, false, true, true},
        {false, {"", "objects"}, true, false, true, true},
        {false, {"objects/tank.con", ""}, true, true, true, true},
        {true, {}, false, false, false, false},
        {true, {"objects/tank.con"}, true, true, false, false},
        {true, {"objects"}, true, true, true, true},
    };
    for (const Case& c : cases) {
        if (c.searching)
            doc.document->search("x");
        else
            doc.document->cancelSearch();
        std::vector<RFATreeNode::Ptr> nodes;
        for (const std::string& path : c.selection)
            nodes.push_back(path.empty() ? doc.root() : doc.at(path));
        doc.document->setSelection(nodes);
        EXPECT_EQ(doc.document->canExtract(), c.extract);
        EXPECT_EQ(doc.document->canDelete(), c.del);
        EXPECT_EQ(doc.document->canAddFiles(), c.add);
        EXPECT_EQ(doc.document->canMakeNewFolder(), c.newFolder);
        EXPECT_EQ(doc.document->validateAction(DocumentAction::DeleteItems), c.del);
        EXPECT_EQ(doc.document->validateAction(DocumentAction::AddFiles), c.add);
        EXPECT_EQ(doc.document->validateAction(DocumentAction::UseListView), !c.searching);
        EXPECT_EQ(doc.document->validateAction(DocumentAction::UseBrowserView), !c.searching);
        EXPECT_FALSE(doc.document->validateAction(DocumentAction::Run)) << "not inside a game installation";
    }
}

TEST(Search, StatesAndAnnouncements)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "spawn"}, {"bf1942/tanks/b.txt", "tank"}});
    std::vector<std::string> told;
    doc.document->addObserver([&](DocumentProperty property, bool isPrior) {
        if (property == DocumentProperty::TabToShow || property == DocumentProperty::FoundEntries)
            told.push_back((isPrior ? "will " : "did ") + std::to_string(static_cast<int>(property)) + " tab " +
                           std::to_string(doc.document->tabToShow()));
    });
    doc.document->setViewMode(1);
    doc.document->search("");
    EXPECT_EQ(doc.document->tabToShow(), 2);
    EXPECT_TRUE(doc.document->foundEntries().empty()) << "an empty text still shows the (empty) results";
    EXPECT_FALSE(doc.document->validateAction(DocumentAction::UseBrowserView));
    doc.document->search("TANK");
    EXPECT_TRUE(doc.document->foundEntries().empty()) << "nothing is searched until a default says what";
    doc.document->setSearchDefaults(true, true);
    ASSERT_EQ(doc.document->foundEntries().size(), 3u);
    EXPECT_EQ(doc.document->foundEntries()[0]->name(), "tank.con");
    EXPECT_EQ(doc.document->foundEntries()[1]->name(), "tanks");
    EXPECT_EQ(doc.document->foundEntries()[2]->name(), "b.txt");

    doc.document->cancelSearch();
    EXPECT_EQ(doc.document->tabToShow(), 1) << "back to the outline";
    EXPECT_EQ(doc.document->searchText(), "");
    EXPECT_EQ(doc.document->foundEntries().size(), 3u) << "the hidden results stay";
    doc.document->setSearchDefaults(false, true);
    EXPECT_TRUE(doc.document->foundEntries().empty()) << "defaults recompute with the (now empty) text";
    EXPECT_EQ(told, (std::vector<std::string>{"will 2 tab 0", "did 2 tab 1", "will 2 tab 1", "did 2 tab 2",
                                              "will 3 tab 2", "did 3 tab 2", "will 3 tab 2", "did 3 tab 2",
                                              "will 3 tab 2", "did 3 tab 2", "will 2 tab 2", "did 2 tab 1",
                                              "will 3 tab 1", "did 3 tab 1"}));
}

TEST(Search, PathComponentsOfTheSelectedResult)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tanks/tank.con", "t"}});
    doc.document->setSearchDefaults(true, false);
    doc.document->search("tank");
    doc.document->setSelection({doc.at("objects/tanks")});
    std::vector<PathComponent> path = doc.document->searchPathComponents();
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[0].title, "bf1942");
    EXPECT_EQ(path[2].title, "tanks");
    EXPECT_FALSE(path[2].isFile);
    doc.document->setSelection({doc.at("objects/tanks/tank.con")});
    path = doc.document->searchPathComponents();
    ASSERT_EQ(path.size(), 4u);
    EXPECT_TRUE(path[3].isFile);
    EXPECT_EQ(path[3].node, doc.at("objects/tanks/tank.con"));
    doc.document->setSelection({doc.at("objects/tanks"), doc.at("objects")});
    EXPECT_TRUE(doc.document->searchPathComponents().empty());
}

} // namespace
} // namespace larkspan
