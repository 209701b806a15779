#include "document/DocumentTestSupport.h"
#include "support/TemporaryFolder.h"
#include "tree/FileIO.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;
using fixtures::Entries;

TEST(NewFolder, TakesTheFirstFreeUnnamedName)
{
    struct Case {
        Entries entries;
        std::string expected;
    };
    const Case cases[] = {
        {{{"bf1942/x", ""}}, "Unnamed"},
        {{{"bf1942/Unnamed", ""}, {"bf1942/Unnamed 2/f", ""}}, "Unnamed 1"},
        {{{"bf1942/unnamed", ""}}, "Unnamed"},
        {{{"bf1942/Unnamed", ""}, {"bf1942/Unnamed 1", ""}}, "Unnamed 2"},
    };
    for (const Case& c : cases) {
        DocumentFixture doc(c.entries);
        doc.document->setSelection({doc.root()});
        const std::string before = doc.tree();
        doc.document->createNewFolder();
        const RFATreeNode::Ptr made = doc.root()->objectInChildrenAtIndex(doc.root()->countOfChildren() - 1);
        EXPECT_EQ(made->name(), c.expected);
        EXPECT_FALSE(made->isLeaf());
        EXPECT_EQ(doc.history().undoActionName(), "New Folder");
        doc.expectUndoRedoRestores(before);
    }
}

TEST(NewFolder, DestinationFollowsTheFirstSelectedEntry)
{
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "t"}, {"bf1942/objects/z.con", ""}, {"bf1942/b.con", ""}});
    doc.document->setSelection({doc.at("objects/tank.con"), doc.at("b.con")});
    doc.document->createNewFolder();
    EXPECT_EQ(doc.tree(), "bf1942{objects{tank.con[1],z.con[0],Unnamed{}},b.con[0]}") << "beside the file, at the end";

    doc.document->setSelection({});
    doc.document->createNewFolder();
    EXPECT_EQ(doc.host.beeps, 1);

    doc.document->search("tank");
    doc.document->setSearchDefaults(true, false);
    ASSERT_EQ(doc.document->foundEntries().size(), 1u);
    doc.document->setSelection({doc.at("objects/tank.con")});
    doc.document->createNewFolder();
    EXPECT_EQ(doc.host.beeps, 2) << "a file result is no destination";
    doc.document->setSelection({doc.at("objects")});
    doc.document->search("Unnamed");
    doc.document->createNewFolder();
    EXPECT_EQ(doc.document->foundEntries().size(), 2u) << "the results follow the new folder";
}

TEST(Delete, RemovesTheSelectedEntriesThemselves)
{
    DocumentFixture doc(Entries{{"bf1942/a.con", "1"}, {"bf1942/a.con", "22"}, {"bf1942/d/x", ""}, {"bf1942/d/y", ""}});
    const std::string before = doc.tree();
    doc.document->setSelection({doc.root()->objectInChildrenAtIndex(1), doc.at("d"), doc.at("d/x")});
    doc.document->deleteItems();
    EXPECT_EQ(doc.tree(), "bf1942{a.con[1]}") << "the same-named sibling stays";
    EXPECT_EQ(doc.history().undoActionName(), "Delete");
    doc.expectUndoRedoRestores(before);
}

TEST(Delete, RefusalsAndSearchMode)
{
    DocumentFixture doc(Entries{{"bf1942/a.con", "1"}, {"bf1942/a.con", "22"}});
    doc.document->setSelection({});
    doc.document->deleteItems();
    doc.document->setSelection({doc.root()});
    doc.document->deleteItems();
    EXPECT_EQ(doc.host.beeps, 2);
    EXPECT_EQ(doc.root()->countOfChildren(), 2u);

    doc.document->setSearchDefaults(true, false);
    doc.document->search("a.con");
    ASSERT_EQ(doc.document->foundEntries().size(), 2u);
    doc.document->setSelection({});
    doc.document->deleteItems();
    EXPECT_EQ(doc.host.beeps, 2) << "an empty selection only refreshes the results";
    doc.document->setSelection({doc.document->foundEntries()[1]});
    doc.document->deleteItems();
    EXPECT_EQ(doc.tree(), "bf1942{a.con[1]}");
    EXPECT_EQ(doc.document->foundEntries().size(), 1u);
}

TEST(AddFiles, AppendsWhatWasChosen)
{
    fixtures::TemporaryFolder temp;
    temp.write("in/new.con", "new");
    temp.write("in/pack/p.con", "pp");
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "t"}});
    doc.host.filesToAdd = std::vector<std::filesystem::path>{temp.path() / "in/new.con", temp.path() / "in/pack/",
                                                             temp.path() / "in/gone.con"};
    doc.document->setSelection({doc.at("objects/tank.con")});
    const std::string before = doc.tree();
    doc.document->addFiles();
    EXPECT_EQ(doc.tree(), "bf1942{objects{tank.con[1],new.con[3],pack{p.con[2]}}}");
    ASSERT_EQ(doc.host.problems.size(), 1u) << "a path that is gone is reported, not inserted";
    EXPECT_NE(doc.host.problems[0].find("gone.con"), std::string::npos);
    doc.expectUndoRedoRestores(before);

    doc.host.filesToAdd.reset();
    doc.document->addFiles();
    EXPECT_EQ(doc.at("objects")->countOfChildren(), 3u) << "cancelled";
}

TEST(Extract, WritesTheSelectionAndNothingOutsideTheFolder)
{
    fixtures::TemporaryFolder temp;
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/../escape.con", "x"},
                         {"bf1942/top.con", "top"}});
    doc.host.extractionFolder = temp.path() / "out";
    std::filesystem::create_directory(temp.path() / "out");
    temp.write("out/top.con", "old");
    doc.document->setSelection({doc.at("objects"), doc.at("top.con")});
    doc.document->extractFiles();
    EXPECT_EQ(readWholeFile(temp.path() / "out/objects/tank.con"), (Bytes{'t', 'a', 'n', 'k'}));
    EXPECT_EQ(readWholeFile(temp.path() / "out/top.con"), (Bytes{'t', 'o', 'p'})) << "an existing file is replaced";
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "out/escape.con"));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "escape.con"));
    ASSERT_EQ(doc.host.problems.size(), 1u);
    EXPECT_NE(doc.host.problems[0].find(".."), std::string::npos);

    const std::vector<std::filesystem::path> written =
        doc.document->namesForFiles({doc.at("top.con"), doc.at("objects")}, temp.path());
    EXPECT_EQ(written, (std::vector<std::filesystem::path>{temp.path() / "top.con", temp.path() / "objects/tank.con"}));
}

} // namespace
} // namespace larkspan
