#include "document/DocumentTestSupport.h"
#include "support/FailingDisk.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;

TEST(DocumentLifecycle, NewDocumentsHoldAnEmptyArchive)
{
    fixtures::FakeHost host;
    const auto document = ArchiveDocument::create(host);
    EXPECT_EQ(fixtures::describe(*document->archive().root()), "bf1942{}");
    EXPECT_EQ(document->archive().root()->undoManager(), document->undoHistory());
    EXPECT_FALSE(document->isModified());
    EXPECT_FALSE(document->fileLocation());
    EXPECT_FALSE(document->saveAndRunEnabled());
    EXPECT_EQ(document->browse().tabToShow(), 0);
}

TEST(DocumentLifecycle, ReadingStartsAFreshHistoryAndAFailedReadChangesNothing)
{
    DocumentFixture doc;
    doc.root()->setName("renamed");
    doc.history().endGroup();
    Bytes broken = fixtures::plainArchive({{"bf1942/b", "b"}});
    broken.resize(broken.size() - 1);
    EXPECT_EQ(doc.document->readFromData(broken, std::nullopt).error().code, ErrorCode::OutOfBounds);
    EXPECT_EQ(doc.tree(), "renamed{a.con[3]}");
    EXPECT_TRUE(doc.history().canUndo());

    std::vector<DocumentProperty> told;
    doc.document->addObserver([&](DocumentProperty p, bool isPrior) {
        if (!isPrior)
            told.push_back(p);
    });
    ASSERT_TRUE(doc.document->readFromData(fixtures::plainArchive({{"mod/x.con", "x"}}), std::nullopt));
    EXPECT_FALSE(doc.history().canUndo());
    EXPECT_FALSE(doc.document->isModified());
    EXPECT_EQ(doc.tree(), "mod{x.con[1]}");
    EXPECT_EQ(doc.root()->changeHub(), doc.document->changeHub());
    EXPECT_EQ(told, (std::vector<DocumentProperty>{DocumentProperty::Archive, DocumentProperty::SaveAndRunEnabled}));
}

TEST(DocumentLifecycle, SavingWritesAtomicallyAndMarksClean)
{
    fixtures::TemporaryFolder temp;
    DocumentFixture doc;
    doc.root()->setName("mod");
    ASSERT_TRUE(doc.document->isModified());
    const std::filesystem::path target = temp.path() / "mod.rfa";
    ASSERT_TRUE(doc.document->saveToFile(target));
    EXPECT_FALSE(doc.document->isModified());
    EXPECT_EQ(doc.document->fileLocation(), target);
    EXPECT_EQ(readWholeFile(target), doc.document->dataOfType());

    // A save that cannot happen leaves the file there and the changed state.
    doc.root()->setName("changed");
    const std::filesystem::path other = temp.write("other.rfa", "other");
    fixtures::FailingDisk diskFull, renameFails;
    diskFull.writeFailsAfter = 100;
    renameFails.renameFails = true;
    for (fixtures::FailingDisk* disk : {&diskFull, &renameFails}) {
        EXPECT_FALSE(doc.document->saveToFile(other, {}, *disk));
        EXPECT_EQ(readWholeFile(other), (Bytes{'o', 't', 'h', 'e', 'r'}));
        EXPECT_TRUE(doc.document->isModified());
        EXPECT_EQ(doc.document->fileLocation(), target);
    }
    EXPECT_EQ(doc.document->saveToFile(temp.path() / "missing-folder" / "x.rfa").error().code, ErrorCode::CannotOpen);
    EXPECT_TRUE(doc.document->isModified());
    EXPECT_EQ(doc.document->fileLocation(), target);

    DocumentFixture reread;
    ASSERT_TRUE(reread.document->readFromFile(target));
    EXPECT_EQ(reread.tree(), "mod{a.con[3]}");
    EXPECT_EQ(reread.document->readFromFile(temp.path() / "nothing.rfa").error().code, ErrorCode::CannotRead);
}

} // namespace
} // namespace larkspan
