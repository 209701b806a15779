#include "document/CommandAvailability.h"
#include "document/DocumentTestSupport.h"
#include "document/SearchPathComponents.h"
#include "document/StatusBarText.h"

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
        {{"objects"}, "12 objects"},
        {{"one"}, "1 object"},
        {{"one", "other"}, "2 objects of 3 selected"},
        {{"objects/e1.con", "other/a.con"}, "2 objects of 13 selected, 4 Bytes"},
        // Select All in an outline with open folders: never "3 of 1".
        {{"", "one", "objects/e3.con"}, "3 objects of 16 selected, 2 KB"},
        {{""}, "3 objects"},
    };
    for (const Case& c : cases) {
        doc.select(c.selection);
        EXPECT_EQ(doc.status(), c.text);
    }
    DocumentFixture empty;
    empty.root()->removeObjectFromChildrenAtIndex(0);
    empty.document->selection().set({empty.root()->copy()});
    empty.select({});
    EXPECT_EQ(empty.status(), "1 object, 0 Bytes");
}

TEST(StatusBar, SearchRows)
{
    DocumentFixture doc(twelveEntries());
    doc.browse().setSearchDefaults(true, false);
    doc.browse().search("nothing like it");
    EXPECT_EQ(doc.status(), "0 objects, 0 Bytes");
    doc.browse().search("only");
    EXPECT_EQ(doc.status(), "1 object, 1 Bytes");
    doc.browse().search(".con");
    ASSERT_EQ(doc.found().size(), 14u);
    const auto& found = doc.found();
    doc.document->selection().set({found[3]});
    EXPECT_EQ(doc.status(), "1 object of 14 selected, 2 KB");
    doc.document->selection().set({found[0], found[1], found[13]});
    EXPECT_EQ(doc.status(), "3 objects of 14 selected, 5 Bytes");
    doc.select({});
    EXPECT_EQ(doc.status(), "14 objects, 3 KB");
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
            doc.browse().search("x");
        else
            doc.browse().cancelSearch();
        doc.select(c.selection);
        EXPECT_EQ(canExtract(*doc.document), c.extract);
        EXPECT_EQ(canDelete(*doc.document), c.del);
        EXPECT_EQ(canAddFiles(*doc.document), c.add);
        EXPECT_EQ(canMakeNewFolder(*doc.document), c.newFolder);
        EXPECT_EQ(validateAction(*doc.document, DocumentAction::DeleteItems), c.del);
        EXPECT_EQ(validateAction(*doc.document, DocumentAction::AddFiles), c.add);
        EXPECT_EQ(validateAction(*doc.document, DocumentAction::UseListView), !c.searching);
        EXPECT_EQ(validateAction(*doc.document, DocumentAction::UseBrowserView), !c.searching);
        EXPECT_FALSE(validateAction(*doc.document, DocumentAction::Run)) << "not inside a game installation";
    }
}

TEST(Search, StatesAndAnnouncements)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "spawn"}, {"bf1942/tanks/b.txt", "tank"}});
    std::vector<std::string> told;
    doc.document->addObserver([&](DocumentProperty property, bool isPrior) {
        if (property == DocumentProperty::TabToShow || property == DocumentProperty::FoundEntries)
            told.push_back((isPrior ? "will " : "did ") + std::to_string(static_cast<int>(property)) + " tab " +
                           std::to_string(doc.browse().tabToShow()));
    });
    doc.browse().setViewMode(1);
    doc.browse().search("");
    EXPECT_EQ(doc.browse().tabToShow(), 2);
    EXPECT_TRUE(doc.found().empty()) << "an empty text still shows the (empty) results";
    EXPECT_FALSE(validateAction(*doc.document, DocumentAction::UseBrowserView));
    doc.browse().search("TANK");
    EXPECT_TRUE(doc.found().empty()) << "nothing is searched until a default says what";
    doc.browse().setSearchDefaults(true, true);
    ASSERT_EQ(doc.found().size(), 3u);
    EXPECT_EQ(doc.found()[0]->name(), "tank.con");
    EXPECT_EQ(doc.found()[1]->name(), "tanks");
    EXPECT_EQ(doc.found()[2]->name(), "b.txt");

    doc.browse().cancelSearch();
    EXPECT_EQ(doc.browse().tabToShow(), 1) << "back to the outline";
    EXPECT_EQ(doc.browse().searchText(), "");
    EXPECT_EQ(doc.found().size(), 3u) << "the hidden results stay";
    doc.browse().setSearchDefaults(false, true);
    EXPECT_TRUE(doc.found().empty()) << "defaults recompute with the (now empty) text";
    EXPECT_EQ(told, (std::vector<std::string>{"will 2 tab 0", "did 2 tab 1", "will 2 tab 1", "did 2 tab 2",
                                              "will 3 tab 2", "did 3 tab 2", "will 3 tab 2", "did 3 tab 2",
                                              "will 3 tab 2", "did 3 tab 2", "will 2 tab 2", "did 2 tab 1",
                                              "will 3 tab 1", "did 3 tab 1"}));
}

TEST(Search, PathComponentsOfTheSelectedResult)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tanks/tank.con", "t"}});
    std::vector<PathComponent> path = searchPathComponents({doc.at("objects/tanks")});
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[0].title, "bf1942");
    EXPECT_EQ(path[2].title, "tanks");
    EXPECT_FALSE(path[2].isFile);
    path = searchPathComponents({doc.at("objects/tanks/tank.con")});
    ASSERT_EQ(path.size(), 4u);
    EXPECT_TRUE(path[3].isFile);
    EXPECT_EQ(path[3].node, doc.at("objects/tanks/tank.con"));
    EXPECT_TRUE(searchPathComponents({doc.at("objects/tanks"), doc.at("objects")}).empty());
}

} // namespace
} // namespace larkspan
