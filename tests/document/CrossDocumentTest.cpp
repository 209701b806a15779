// Entries moved between two open documents, deleted after a drag, pasted,
// and found again by their full paths.

#include "document/DocumentTestSupport.h"
#include "model/EntryPathResolution.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;
using fixtures::Entries;

struct TwoDocuments {
    DocumentFixture source{Entries{{"bf1942/a/x.con", "x"}, {"bf1942/a/y.con", "yy"}, {"bf1942/b.con", "b"}}};
    DocumentFixture receiver{Entries{{"bf1942/c/z.con", "z"}}};
    const std::string sourceBefore = source.tree();
    const std::string receiverBefore = receiver.tree();

    // Ends the user event in both windows, as their event loops would.
    void endEvent()
    {
        source.history().endGroup();
        receiver.history().endGroup();
    }
    void move(const std::vector<std::string>& paths, const std::string& to, std::size_t index)
    {
        receiver.insertion().startMovingNodes(source.nodes(paths), receiver.at(to), index);
        endEvent();
    }
};

TEST(MoveBetweenDocuments, ChangesBothAndUndoesInEitherWindow)
{
    for (const bool undoInReceiver : {true, false}) {
        SCOPED_TRACE(undoInReceiver ? "undo in the receiver" : "undo in the source");
        TwoDocuments docs;
        docs.move({"a/x.con", "b.con"}, "c", 1);
        const std::string sourceAfter = "bf1942{a{y.con[2]}}";
        const std::string receiverAfter = "bf1942{c{z.con[1],x.con[1],b.con[1]}}";
        EXPECT_EQ(docs.source.tree(), sourceAfter);
        EXPECT_EQ(docs.receiver.tree(), receiverAfter);
        EXPECT_TRUE(docs.source.document->isModified());
        EXPECT_TRUE(docs.receiver.document->isModified());
        EXPECT_EQ(docs.source.history().undoActionName(), "Move");

        UndoHistory& first = undoInReceiver ? docs.receiver.history() : docs.source.history();
        UndoHistory& other = undoInReceiver ? docs.source.history() : docs.receiver.history();
        first.undo();
        EXPECT_EQ(docs.source.tree(), docs.sourceBefore);
        EXPECT_EQ(docs.receiver.tree(), docs.receiverBefore);
        EXPECT_FALSE(docs.source.document->isModified());
        EXPECT_FALSE(docs.receiver.document->isModified());
        EXPECT_FALSE(other.canUndo()) << "the other window's side went with it";
        EXPECT_TRUE(other.canRedo());

        other.redo();
        EXPECT_EQ(docs.source.tree(), sourceAfter);
        EXPECT_EQ(docs.receiver.tree(), receiverAfter);
        // The moved entries now edit undoably in the receiver.
        EXPECT_EQ(docs.receiver.at("c/x.con")->undoManager(), docs.receiver.document->undoHistory());
    }
}

TEST(MoveBetweenDocuments, WaitsWhileTheOtherWindowHasALaterStep)
{
    TwoDocuments docs;
    docs.move({"b.con"}, "c", 0);
    docs.source.at("a")->setName("renamed");
    docs.endEvent();

    // The source's rename is on top of its side of the move.
    EXPECT_FALSE(docs.receiver.history().canUndo());
    docs.receiver.history().undo();
    EXPECT_EQ(docs.receiver.tree(), "bf1942{c{b.con[1],z.con[1]}}");

    docs.source.history().undo(); // the rename
    EXPECT_TRUE(docs.receiver.history().canUndo());
    docs.receiver.history().undo();
    EXPECT_EQ(docs.source.tree(), docs.sourceBefore);
    EXPECT_EQ(docs.receiver.tree(), docs.receiverBefore);

    // A new edit in the source leaves the move nothing to redo into.
    docs.source.at("a")->setName("other");
    docs.endEvent();
    EXPECT_FALSE(docs.receiver.history().canRedo());
    docs.receiver.history().redo();
    EXPECT_EQ(docs.receiver.tree(), docs.receiverBefore);
}

TEST(MoveBetweenDocuments, AWindowGoneLeavesTheOtherItsOwnSide)
{
    {
        TwoDocuments docs;
        docs.move({"b.con"}, "c", 0);
        docs.source.document.reset();
        docs.receiver.history().undo();
        EXPECT_EQ(docs.receiver.tree(), docs.receiverBefore);
    }
    {
        TwoDocuments docs;
        docs.move({"b.con"}, "c", 0);
        docs.receiver.document.reset();
        // Its side holds nothing to run: the entries left with the window.
        docs.source.history().undo();
        EXPECT_EQ(docs.source.tree(), "bf1942{a{x.con[1],y.con[2]}}");
        EXPECT_FALSE(docs.source.history().canUndo());
    }
}

TEST(MoveBetweenDocuments, AnEntryKeptOutReturnsAsPartOfTheSameStep)
{
    TwoDocuments docs;
    docs.receiver.insertion().startCoypingNodes({docs.receiver.at("c/z.con")}, docs.receiver.root(), 0);
    docs.endEvent();
    const std::string receiverBefore = docs.receiver.tree();
    docs.source.at("b.con")->setName("z.con");
    docs.endEvent();
    const std::string sourceBefore = docs.source.tree();

    docs.receiver.host.answers.push_back({ReplaceChoice::Keep, false});
    docs.move({"b.con"}, "", 1);
    EXPECT_EQ(docs.source.tree(), sourceBefore);
    EXPECT_EQ(docs.receiver.tree(), receiverBefore);
    docs.receiver.history().undo();
    docs.source.history().undo(); // the rename
    EXPECT_EQ(docs.source.tree(), docs.sourceBefore);
}

TEST(DeleteNodes, OneStepByIdentityLeavingRootsAndForeignEntries)
{
    DocumentFixture doc{
        Entries{{"bf1942/a/x.con", "x"}, {"bf1942/a/y.con", "y"}, {"bf1942/b.con", "1"}, {"bf1942/b.con", "22"}}};
    DocumentFixture other;
    const std::string before = doc.tree();
    EXPECT_FALSE(doc.commands().deleteNodes({doc.root(), other.at("a.con")}));
    EXPECT_EQ(other.tree(), "bf1942{a.con[3]}");

    const RFATreeNode::Ptr secondB = doc.root()->objectInChildrenAtIndex(2);
    EXPECT_TRUE(doc.commands().deleteNodes({doc.at("a/x.con"), doc.at("a"), secondB, doc.root()}));
    EXPECT_EQ(doc.tree(), "bf1942{b.con[1]}") << "the same-named sibling stays";
    EXPECT_EQ(doc.history().undoActionName(), "Delete");
    doc.expectUndoRedoRestores(before);
}

TEST(Paste, CopiesOrMovesIntoTheFolderNewFolderWouldUse)
{
    TwoDocuments docs;
    docs.receiver.select({"c/z.con"});
    docs.receiver.commands().pasteNodes({docs.source.at("a")}, false);
    docs.endEvent();
    EXPECT_EQ(docs.receiver.tree(), "bf1942{c{z.con[1],a{x.con[1],y.con[2]}}}");
    EXPECT_EQ(docs.receiver.history().undoActionName(), "Copy");
    EXPECT_EQ(docs.source.tree(), docs.sourceBefore);

    docs.receiver.select({""});
    docs.receiver.commands().pasteNodes({docs.source.at("b.con")}, true);
    docs.endEvent();
    EXPECT_EQ(docs.receiver.tree(), "bf1942{c{z.con[1],a{x.con[1],y.con[2]}},b.con[1]}");
    EXPECT_EQ(docs.source.tree(), "bf1942{a{x.con[1],y.con[2]}}");

    docs.receiver.select({});
    docs.receiver.commands().pasteNodes({docs.source.at("a")}, false);
    EXPECT_EQ(docs.receiver.host.beeps, 1);
}

TEST(ResolveFullPath, FindsFilesAndFoldersByKind)
{
    DocumentFixture doc{Entries{{"bf1942/a/x.con", "x"}, {"bf1942/b/c", "file c"}, {"other/d.con", "d"}}};
    const RFATreeNode::Ptr folderC = RFATreeNode::initAsDirectory("c", doc.at("b"));
    doc.at("b")->appendChild(folderC);
    const std::vector<RFATreeNode::Ptr>& top = doc.document->topLevelNodes();
    const struct {
        std::string path;
        RFATreeNode::Ptr expected;
    } cases[] = {
        {"bf1942/a/x.con", doc.at("a/x.con")},
        {"bf1942/a/", doc.at("a")},
        {"bf1942/b/c", doc.at("b")->objectInChildrenAtIndex(0)},
        {"bf1942/b/c/", folderC},
        {"other/d.con", top[1]->childWithName("d.con")},
        {"bf1942/a", nullptr},          // a folder, named as a file
        {"bf1942/a/x.con/", nullptr},   // a file, named as a folder
        {"bf1942/", nullptr},           // the root itself
        {"bf1942", nullptr},
        {"", nullptr},
        {"bf1942/missing.con", nullptr},
        {"elsewhere/a/x.con", nullptr},
        {"bf1942//x.con", nullptr},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(resolveFullPath(top, path), expected) << path;
}

} // namespace
} // namespace larkspan
