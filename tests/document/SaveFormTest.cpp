// A document is saved in the form it was read in, unless the user chose
// the other; a save the user stops changes nothing.

#include "DocumentTestSupport.h"

#include "base/ByteOrder.h"
#include "support/TemporaryFolder.h"

namespace larkspan {
namespace {

TEST(SaveForm, FollowsTheFormReadAndTheUsersChoice)
{
    fixtures::TemporaryFolder temp;
    fixtures::DocumentFixture doc;
    const std::filesystem::path target = temp.path() / "a.rfa";
    const auto flagOnDisk = [&] { return littleIntAtPosition(readWholeFile(target).value_or(Bytes{}), 4); };
    EXPECT_FALSE(doc.document->compressWhenSaving()) << "read uncompressed";
    doc.document->setCompressWhenSaving(true);
    ASSERT_TRUE(doc.document->saveToFile(target));
    EXPECT_EQ(flagOnDisk(), 1u);
    ASSERT_TRUE(doc.document->readFromFile(target));
    EXPECT_TRUE(doc.document->compressWhenSaving()) << "read compressed";
    EXPECT_EQ(doc.tree(), "bf1942{a.con[3]}");

    // Stopped: the file stays, and so do the changes.
    const Result<Bytes> before = readWholeFile(target);
    doc.root()->setName("mod");
    const Result<void> stopped = doc.document->saveToFile(target, [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_EQ(stopped.error().code, ErrorCode::Cancelled);
    EXPECT_TRUE(doc.document->isModified());
    EXPECT_EQ(readWholeFile(target), *before);

    doc.document->setCompressWhenSaving(false);
    ASSERT_TRUE(doc.document->saveToFile(target));
    EXPECT_EQ(flagOnDisk(), 0u);
}

} // namespace
} // namespace larkspan
