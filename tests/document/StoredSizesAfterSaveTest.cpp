// After a save the stored sizes shown are those of the file just written,
// in the form it was written in.

#include "DocumentTestSupport.h"

#include "support/TemporaryFolder.h"

namespace larkspan {
namespace {

TEST(StoredSizesAfterSave, AreThoseOfTheFileWritten)
{
    fixtures::TemporaryFolder temp;
    const std::string text(4000, 'a'); // compresses well
    fixtures::DocumentFixture doc({{"bf1942/a.con", text}, {"bf1942/b.con", "b"}});
    const std::filesystem::path target = temp.path() / "a.rfa";
    for (const bool compress : {true, false}) {
        doc.document->setCompressWhenSaving(compress);
        ASSERT_TRUE(doc.document->saveToFile(target));
        fixtures::DocumentFixture reread;
        ASSERT_TRUE(reread.document->readFromFile(target));
        for (const std::string path : {"a.con", "b.con"}) {
            const std::optional<std::uint32_t> shown = doc.document->archive().storedSizeOf(doc.at(path)->data());
            ASSERT_TRUE(shown) << path;
            EXPECT_EQ(shown, reread.document->archive().storedSizeOf(reread.at(path)->data())) << path;
        }
        EXPECT_EQ(*doc.document->archive().storedSizeOf(doc.at("a.con")->data()) < text.size(), compress);
    }
}

} // namespace
} // namespace larkspan
