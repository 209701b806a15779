// A document is saved in the form it was read in, unless the user chose
// the other; a save the user stops changes nothing.

#include "DocumentTestSupport.h"

#include "base/ByteOrder.h"
#include "support/TemporaryFolder.h"

namespace larkspan {
namespace {

using fixtures::DocumentFixture;

std::uint32_t savedFlag(ArchiveDocument& document, const std::filesystem::path& target)
{
    EXPECT_TRUE(document.saveToFile(target));
    return littleIntAtPosition(readWholeFile(target).value_or(Bytes{}), 4);
}

TEST(SaveForm, FollowsTheFormReadUntilTheUserChooses)
{
    fixtures::TemporaryFolder temp;
    DocumentFixture doc;
    const std::filesystem::path target = temp.path() / "a.rfa";
    EXPECT_FALSE(doc.document->compressWhenSaving()) << "new or read uncompressed";
    EXPECT_EQ(savedFlag(*doc.document, target), 0u);

    doc.document->setCompressWhenSaving(true);
    EXPECT_EQ(savedFlag(*doc.document, target), 1u);
    ASSERT_TRUE(doc.document->readFromFile(target));
    EXPECT_TRUE(doc.document->compressWhenSaving()) << "read compressed";
    EXPECT_EQ(doc.tree(), "bf1942{a.con[3]}");
    EXPECT_EQ(readWholeFile(target), doc.document->dataOfType());

    doc.document->setCompressWhenSaving(false);
    EXPECT_EQ(savedFlag(*doc.document, target), 0u);
    ASSERT_TRUE(doc.document->readFromFile(target));
    EXPECT_FALSE(doc.document->compressWhenSaving());
}

TEST(SaveForm, StoppedSaveLeavesTheFileAndTheChanges)
{
    fixtures::TemporaryFolder temp;
    DocumentFixture doc;
    const std::filesystem::path target = temp.path() / "a.rfa";
    ASSERT_TRUE(doc.document->saveToFile(target));
    const Result<Bytes> before = readWholeFile(target);
    doc.root()->setName("mod");
    doc.document->setCompressWhenSaving(true);
    const Result<void> saved = doc.document->saveToFile(target, [](std::uint64_t, std::uint64_t) { return false; });
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().code, ErrorCode::Cancelled);
    EXPECT_TRUE(doc.document->isModified());
    EXPECT_EQ(readWholeFile(target), *before);
}

} // namespace
} // namespace larkspan
