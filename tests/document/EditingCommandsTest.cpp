#include "document/DocumentTestSupport.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"

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
        {{{"bf1942/unnamed", ""}}, "Unnamed 1"},
        {{{"bf1942/Unnamed", ""}, {"bf1942/Unnamed 1", ""}}, "Unnamed 2"},
    };
    for (const Case& c : cases) {
        DocumentFixture doc(c.entries);
        doc.select({""});
        const std::string before = doc.tree();
        doc.commands().createNewFolder();
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
    doc.select({"objects/tank.con", "b.con"});
    doc.commands().createNewFolder();
    EXPECT_EQ(doc.tree(), "bf1942{objects{tank.con[1],z.con[0],Unnamed{}},b.con[0]}") << "beside the file, at the end";

    doc.select({});
    doc.commands().createNewFolder();
    EXPECT_EQ(doc.host.beeps, 1);

    doc.browse().search("tank");
    doc.browse().setSearchDefaults(true, false);
    ASSERT_EQ(doc.found().size(), 1u);
    doc.select({"objects/tank.con"});
    doc.commands().createNewFolder();
    EXPECT_EQ(doc.host.beeps, 2) << "a file result is no destination";
    doc.select({"objects"});
    doc.browse().search("Unnamed");
    doc.commands().createNewFolder();
    EXPECT_EQ(doc.found().size(), 2u) << "the results follow the new folder";
}

TEST(Delete, RefusalsAndSearchMode)
{
    DocumentFixture doc(Entries{{"bf1942/a.con", "1"}, {"bf1942/a.con", "22"}});
    doc.select({});
    doc.commands().deleteItems();
    doc.select({""});
    doc.commands().deleteItems();
    EXPECT_EQ(doc.host.beeps, 2);
    EXPECT_EQ(doc.root()->countOfChildren(), 2u);

    doc.browse().setSearchDefaults(true, false);
    doc.browse().search("a.con");
    ASSERT_EQ(doc.found().size(), 2u);
    doc.select({});
    doc.commands().deleteItems();
    EXPECT_EQ(doc.host.beeps, 2) << "an empty selection only refreshes the results";
    doc.document->selection().set({doc.found()[1]});
    doc.commands().deleteItems();
    EXPECT_EQ(doc.tree(), "bf1942{a.con[1]}");
    EXPECT_EQ(doc.found().size(), 1u);
}

TEST(AddFiles, AppendsWhatWasChosen)
{
    fixtures::TemporaryFolder temp;
    temp.write("in/new.con", "new");
    temp.write("in/pack/p.con", "pp");
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "t"}});
    doc.host.filesToAdd = std::vector<std::filesystem::path>{temp.path() / "in/new.con", temp.path() / "in/pack/",
                                                             temp.path() / "in/gone.con"};
    doc.select({"objects/tank.con"});
    const std::string before = doc.tree();
    doc.commands().addFiles();
    EXPECT_EQ(doc.tree(), "bf1942{objects{tank.con[1],new.con[3],pack{p.con[2]}}}");
    ASSERT_EQ(doc.host.problems.size(), 1u) << "a path that is gone is reported, not inserted";
    EXPECT_NE(doc.host.problems[0].find("gone.con"), std::string::npos);
    doc.expectUndoRedoRestores(before);

    doc.host.filesToAdd.reset();
    doc.commands().addFiles();
    EXPECT_EQ(doc.at("objects")->countOfChildren(), 3u) << "cancelled";
}

TEST(Extract, WritesTheSelectionAndNothingOutsideTheFolder)
{
    fixtures::TemporaryFolder temp;
    DocumentFixture doc(Entries{{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/../escape.con", "x"},
                         {"bf1942/top.con", "top"}, {"bf1942/linked/l.con", "l"}});
    doc.host.extractionFolder = temp.path() / "out";
    std::filesystem::create_directories(temp.path() / "elsewhere");
    std::filesystem::create_directory(temp.path() / "out");
    std::filesystem::create_directory_symlink(temp.path() / "elsewhere", temp.path() / "out/linked");
    doc.select({"objects", "top.con", "linked"});
    doc.commands().extractFiles();
    EXPECT_EQ(readWholeFile(temp.path() / "out/objects/tank.con"), (Bytes{'t', 'a', 'n', 'k'}));
    EXPECT_EQ(readWholeFile(temp.path() / "out/top.con"), (Bytes{'t', 'o', 'p'}));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "out/escape.con"));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "escape.con"));
    EXPECT_TRUE(std::filesystem::is_empty(temp.path() / "elsewhere")) << "nothing written through a link";
    ASSERT_EQ(doc.host.problems.size(), 2u);
    EXPECT_NE(doc.host.problems[0].find(".."), std::string::npos);
    EXPECT_NE(doc.host.problems[1].find("symbolic link"), std::string::npos) << doc.host.problems[1];
}

// The user's own files are replaced only when the user says so, with the
// question insertions ask.
TEST(Extract, AsksBeforeReplacingAFile)
{
    struct Case {
        const char* what;
        std::vector<ReplaceAnswer> answers;
        std::string a, b; // the two files afterwards
        std::size_t questions;
    };
    const ReplaceAnswer replace{ReplaceChoice::Replace, false}, keep{ReplaceChoice::Keep, false};
    const Case cases[] = {
        {"replace, keep", {replace, keep}, "new a", "old b", 2},
        {"keep for all", {{ReplaceChoice::Keep, true}}, "old a", "old b", 1},
        {"replace for all", {{ReplaceChoice::Replace, true}}, "new a", "new b", 1},
        {"dismissed", {{ReplaceChoice::Dismissed, false}}, "old a", "old b", 1},
    };
    for (const Case& c : cases) {
        fixtures::TemporaryFolder temp;
        temp.write("mod/a.con", "old a");
        temp.write("mod/b.con", "old b");
        DocumentFixture doc(Entries{{"mod/a.con", "new a"}, {"mod/b.con", "new b"}, {"mod/c.con", "new c"}});
        doc.host.extractionFolder = temp.path();
        doc.host.answers.assign(c.answers.begin(), c.answers.end());
        doc.select({""});
        doc.commands().extractFiles();
        EXPECT_EQ(readWholeFile(temp / "mod/a.con"), fixtures::bytesOf(c.a)) << c.what;
        EXPECT_EQ(readWholeFile(temp / "mod/b.con"), fixtures::bytesOf(c.b)) << c.what;
        EXPECT_EQ(doc.host.questions.size(), c.questions) << c.what;
        EXPECT_EQ(doc.host.questions[0].messageText, "a.con already exists.") << c.what;
        EXPECT_TRUE(doc.host.questions[0].showDoForAll) << c.what;
    }
}

TEST(Rename, RefusesNamesTheGameOrTheArchiveCannotTell)
{
    struct Case {
        const char* name;
        const char* refusal; // the message, or nothing when the rename is taken
    };
    const Case cases[] = {
        {"", "A name cannot be empty."},
        {"a/b", "\"a/b\" cannot be a name: it contains \"/\"."},
        {".", "\".\" cannot be a name: folders on disk reserve it."},
        {"..", "\"..\" cannot be a name: folders on disk reserve it."},
        {"euro\xE2\x82\xAC", "\"euro\xE2\x82\xAC\" cannot be a name: it has characters an RFA archive cannot store."},
        {"b.con", "The name \"b.con\" is already taken."},
        {"B.CON", "The name \"B.CON\" is already taken by \"b.con\": the game does not tell names apart by case."},
        {"A.CON", nullptr},
        {"caf\xC3\xA9.con", nullptr},
    };
    for (const Case& c : cases) {
        DocumentFixture doc(Entries{{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        const RFATreeNode::Ptr a = doc.at("a.con");
        const std::string before = doc.tree();
        EXPECT_EQ(doc.commands().renameNode(a, c.name), c.refusal == nullptr) << c.name;
        if (c.refusal) {
            ASSERT_EQ(doc.host.refusals.size(), 1u) << c.name;
            EXPECT_EQ(doc.host.refusals[0], c.refusal);
            EXPECT_EQ(doc.tree(), before);
        } else {
            EXPECT_EQ(a->name(), c.name);
            EXPECT_EQ(doc.history().undoActionName(), "Rename");
            doc.expectUndoRedoRestores(before);
        }
    }
    DocumentFixture doc(Entries{{"bf1942/a.con", "a"}});
    EXPECT_TRUE(doc.commands().renameNode(doc.at("a.con"), "a.con"));
    EXPECT_FALSE(doc.history().canUndo()) << "the same name is no step";
}

} // namespace
} // namespace larkspan
