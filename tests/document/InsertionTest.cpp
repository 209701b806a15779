#include "document/DocumentTestSupport.h"
#include "support/TemporaryFolder.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;
using fixtures::Entries;

ReplaceAnswer replace(bool forAll = false) { return {ReplaceChoice::Replace, forAll}; }
ReplaceAnswer keep(bool forAll = false) { return {ReplaceChoice::Keep, forAll}; }

TEST(Insertion, TheAnswersAndWhereTheEntriesLand)
{
    struct Case {
        const char* what;
        std::vector<std::string> copied; // from p, q, r, s.con of another archive
        std::size_t index;
        std::vector<ReplaceAnswer> answers;
        std::string tree;
        std::size_t questions;
    };
    // Copies into a folder that holds p, q and r already.
    const Case cases[] = {
        {"replace each", {"p.con", "q.con", "r.con"}, 3, {replace(), replace(), replace()}, "bf1942{p.con[5],q.con[5],r.con[5]}", 3},
        {"replace all", {"p.con", "q.con", "r.con"}, 3, {replace(true)}, "bf1942{p.con[5],q.con[5],r.con[5]}", 1},
        {"keep each", {"p.con", "q.con", "r.con"}, 3, {keep(), keep(), keep()}, "bf1942{p.con[1],q.con[1],r.con[1]}", 3},
        {"keep all", {"p.con", "q.con", "r.con"}, 3, {keep(true)}, "bf1942{p.con[1],q.con[1],r.con[1]}", 1},
        {"keep, then replace all", {"p.con", "q.con", "r.con"}, 3, {keep(), replace(true)}, "bf1942{p.con[1],q.con[5],r.con[5]}", 2},
        // Replace removes p before the insertion point: the new p takes its place.
        {"replace before the point", {"p.con", "s.con"}, 1, {replace()}, "bf1942{p.con[5],s.con[5],q.con[1],r.con[1]}", 1},
        {"keep before the point", {"p.con", "s.con"}, 1, {keep()}, "bf1942{p.con[1],s.con[5],q.con[1],r.con[1]}", 1},
        {"dismissed stops it", {"p.con", "s.con"}, 1, {{ReplaceChoice::Dismissed, false}}, "bf1942{p.con[1],q.con[1],r.con[1]}", 1},
    };
    for (const Case& c : cases) {
        DocumentFixture doc(Entries{{"bf1942/p.con", "p"}, {"bf1942/q.con", "q"}, {"bf1942/r.con", "r"}});
        DocumentFixture other(
            Entries{{"mod/p.con", "new p"}, {"mod/q.con", "new q"}, {"mod/r.con", "new r"}, {"mod/s.con", "new s"}});
        doc.host.answers.assign(c.answers.begin(), c.answers.end());
        const std::string before = doc.tree();
        doc.insertion().startCoypingNodes(other.nodes(c.copied), doc.root(), c.index);
        EXPECT_EQ(doc.tree(), c.tree) << c.what;
        EXPECT_EQ(doc.host.questions.size(), c.questions) << c.what;
        EXPECT_FALSE(doc.insertion().isInserting()) << c.what;
        EXPECT_EQ(other.tree(), "mod{p.con[5],q.con[5],r.con[5],s.con[5]}") << "the source archive is untouched";
        doc.expectUndoRedoRestores(before);
    }
}

TEST(Insertion, FolderWordingFollowsTheExistingEntry)
{
    fixtures::TemporaryFolder temp;
    const auto file = temp.write("textures", "a file now");
    temp.write("objects/x.con", "x");
    DocumentFixture doc(Entries{{"bf1942/textures/t.dds", "t"}, {"bf1942/objects", "a file"}});
    doc.host.answers = {replace(), keep()};
    doc.insertion().startAddingFilesWithNames({file, temp.path() / "objects"}, doc.root(), 2);
    ASSERT_EQ(doc.host.questions.size(), 2u);
    EXPECT_EQ(doc.host.questions[0].informativeText,
              "Do you wish to replace textures? All it's contents will be replaced with those of the new folder.");
    EXPECT_TRUE(doc.host.questions[0].existingIsFolder);
    EXPECT_EQ(doc.host.questions[1].informativeText, "Do you wish to replace objects with the new file?");
    EXPECT_FALSE(doc.host.questions[1].showDoForAll) << "a single pending item gets no check box";
    EXPECT_EQ(doc.tree(), "bf1942{objects[6],textures[10]}") << "folders are replaced, never merged";
}

// The game finds files without regard to case: a name that differs from a
// sibling's only in case is a conflict, Latin-1 letters included.
TEST(Insertion, NamesDifferingInCaseConflict)
{
    DocumentFixture doc(Entries{{"bf1942/x.con", "x"}, {"bf1942/Tank.con", "T"}, {"bf1942/CAF\xC9.con", "C"}});
    DocumentFixture other(Entries{{"mod/tank.con", "tt"}, {"mod/caf\xE9.con", "cc"}});
    doc.host.answers = {replace(), keep()};
    const std::string before = doc.tree();
    doc.insertion().startCoypingNodes({other.at("tank.con"), other.at("caf\xC3\xA9.con")}, doc.root(), 3);
    ASSERT_EQ(doc.host.questions.size(), 2u);
    EXPECT_EQ(doc.host.questions[0].messageText, "Tank.con already exists.") << "the entry that is there";
    EXPECT_EQ(doc.host.questions[1].name, "CAF\xC3\x89.con");
    EXPECT_EQ(doc.tree(), "bf1942{x.con[1],CAF\xC3\x89.con[1],tank.con[2]}");
    doc.expectUndoRedoRestores(before);
}

// A name the archive cannot store (it holds one byte per character) would
// be saved as something else than what the user sees: it is left out, and
// said so, at the top and deep inside an added folder alike.
TEST(Insertion, NamesTheArchiveCannotStoreAreLeftOut)
{
    fixtures::TemporaryFolder temp;
    const auto euro = temp.write("euro\xE2\x82\xAC.con", "e");
    temp.write("pack/ok.con", "ok");
    temp.write("pack/\xE2\x82\xAC/x.con", "x");
    DocumentFixture doc(Entries{{"bf1942/a.con", "a"}});
    doc.insertion().startAddingFilesWithNames({euro, temp.path() / "pack"}, doc.root(), 1);
    EXPECT_EQ(doc.tree(), "bf1942{a.con[1],pack{ok.con[2]}}");
    EXPECT_EQ(doc.history().undoActionName(), "Add Files");
    ASSERT_EQ(doc.host.problems.size(), 2u);
    EXPECT_EQ(doc.host.problems[0], "\"euro\xE2\x82\xAC.con\" was left out: its name has characters an RFA archive cannot store.");
    EXPECT_NE(doc.host.problems[1].find("\"\xE2\x82\xAC\" was left out"), std::string::npos) << doc.host.problems[1];
}

TEST(Insertion, WaitsForTheAnswerAndStaysUndoable)
{
    DocumentFixture doc(Entries{{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
    DocumentFixture other(Entries{{"mod/a.con", "AAA"}, {"mod/c.con", "CCC"}});
    const std::string before = doc.tree();
    doc.insertion().startCoypingNodes({other.at("a.con"), other.at("c.con")}, doc.root(), 0);
    EXPECT_TRUE(doc.insertion().isInserting());
    ASSERT_TRUE(doc.host.pendingAnswer);
    doc.insertion().startCoypingNodes({other.at("c.con")}, doc.root(), 0);
    EXPECT_EQ(doc.host.beeps, 1) << "one insertion at a time";
    doc.history().endGroup();
    doc.host.pendingAnswer(replace());
    EXPECT_FALSE(doc.insertion().isInserting());
    EXPECT_EQ(doc.tree(), "bf1942{a.con[3],c.con[3],b.con[1]}");
    doc.expectUndoRedoRestores(before);
}

TEST(Move, TakesEntriesOutBeforeInsertingAndKeepsThemWhole)
{
    DocumentFixture doc(Entries{{"bf1942/a/x.con", "111"}, {"bf1942/a/y.con", "yy"}, {"bf1942/a/x.con", "x"},
                                {"bf1942/b/z.con", "z"}, {"bf1942/c.con", "c"}});
    const RFATreeNode::Ptr x = doc.at("a")->objectInChildrenAtIndex(2);
    const std::string before = doc.tree();
    doc.insertion().startMovingNodes({x, doc.at("c.con")}, doc.at("b"), 0);
    EXPECT_EQ(doc.tree(), "bf1942{a{x.con[3],y.con[2]},b{x.con[1],c.con[1],z.con[1]}}") << "its same-named sibling stays";
    EXPECT_EQ(doc.at("b/x.con"), x) << "the same entry, not a copy";
    EXPECT_EQ(doc.history().undoActionName(), "Move");
    doc.expectUndoRedoRestores(before);
}

TEST(Move, WithinTheSameFolderAndPastTheEnd)
{
    DocumentFixture doc(Entries{{"bf1942/p", ""}, {"bf1942/q", ""}, {"bf1942/r", ""}, {"bf1942/s", ""}});
    // p and q move to the end: the insertion point moves back with them.
    doc.insertion().startMovingNodes({doc.at("p"), doc.at("q")}, doc.root(), 4);
    EXPECT_EQ(doc.tree(), "bf1942{r[0],s[0],p[0],q[0]}");
    doc.insertion().startMovingNodes({doc.at("q")}, doc.root(), 1);
    EXPECT_EQ(doc.tree(), "bf1942{r[0],q[0],s[0],p[0]}");
    doc.insertion().startMovingNodes({doc.at("q")}, doc.root(), 1); // onto its own place
    EXPECT_EQ(doc.tree(), "bf1942{r[0],q[0],s[0],p[0]}");
}

TEST(Move, OntoItselfOrIntoItsOwnSubfolderOnlyBeeps)
{
    DocumentFixture doc(Entries{{"bf1942/a/b/x", ""}, {"bf1942/c", ""}});
    const std::string before = doc.tree();
    doc.insertion().startMovingNodes({doc.at("c"), doc.at("a")}, doc.at("a/b"), 0);
    doc.insertion().startMovingNodes({doc.at("a")}, doc.at("a"), 0);
    doc.insertion().startMovingNodes({doc.root()}, doc.at("a"), 0);
    EXPECT_EQ(doc.host.beeps, 3);
    EXPECT_EQ(doc.tree(), before);
    EXPECT_FALSE(doc.history().canUndo());
}

TEST(Move, AnEntryKeptOutGoesBackWhereItCameFrom)
{
    DocumentFixture doc(Entries{{"bf1942/a/x.con", "moved"}, {"bf1942/a/w.con", "w"}, {"bf1942/b/x.con", "stays"}});
    doc.host.answers = {keep()};
    const std::string before = doc.tree();
    doc.insertion().startMovingNodes({doc.at("a/x.con")}, doc.at("b"), 0);
    EXPECT_EQ(doc.tree(), before) << "nothing floats in no folder";
    doc.history().endGroup();
    doc.history().undo();
    EXPECT_EQ(doc.tree(), before);
}

} // namespace
} // namespace larkspan
