// A document decodes its entries when they are read, from the file's bytes
// it holds: what happens to the file on disk afterwards changes nothing it
// saves, and a damaged entry stops the save before the target is touched.

#include "DocumentTestSupport.h"

#include "format/EntryCompression.h"
#include "support/TemporaryFolder.h"

namespace larkspan {
namespace {

TEST(DecodeWhenReadSave, SavesWhatWasReadWhateverTheFileBecomes)
{
    fixtures::TemporaryFolder temp;
    const std::filesystem::path source = temp / "a.rfa";
    const std::filesystem::path target = temp / "b.rfa";
    const std::vector<ArchiveEntry> original = {
        {"bf1942/a.con", makeSharedBytes(fixtures::bytesOf("first version of a"))},
        {"bf1942/maps/b.dds", makeSharedBytes(Bytes(70'000, 0x5A))},
    };
    ASSERT_TRUE(writeEntriesToFile(source, original, {.compression = CompressionLevel::Fast}));
    fixtures::DocumentFixture doc;
    ASSERT_TRUE(doc.document->readFromFile(source));
    // Another program writes over the file in place.
    const Bytes other = fixtures::plainArchive({{"bf1942/a.con", "other"}});
    temp.write("a.rfa", std::string(other.begin(), other.end()));

    EXPECT_EQ(*doc.at("a.con")->data(), fixtures::bytesOf("first version of a"));
    ASSERT_TRUE(doc.document->saveToFile(target));
    fixtures::DocumentFixture saved;
    ASSERT_TRUE(saved.document->readFromFile(target));
    EXPECT_EQ(saved.tree(), "bf1942{a.con[18],maps{b.dds[70000]}}");
    EXPECT_EQ(*saved.at("a.con")->data(), fixtures::bytesOf("first version of a"));
    EXPECT_EQ(*saved.at("maps/b.dds")->data(), Bytes(70'000, 0x5A));
}

TEST(DecodeWhenReadSave, DamagedEntryStopsTheSaveAndKeepsTheTarget)
{
    fixtures::TemporaryFolder temp;
    const std::filesystem::path target = temp.write("b.rfa", "kept");
    const Bytes endOnly{0x11, 0x00, 0x00}; // decodes to nothing, not to the 5 bytes declared
    const Bytes file = fixtures::archiveOf(
        {{"bf1942/a.con", compressEntry(fixtures::bytesOf("aaa"), CompressionLevel::Fast), 3},
         {"bf1942/bad.con", fixtures::segmentedEntry({{endOnly, 5}}), 5}},
        1);
    fixtures::DocumentFixture doc;
    ASSERT_TRUE(doc.document->readFromData(file, std::nullopt)) << "the damage is found when read";
    EXPECT_EQ(doc.at("bad.con")->size(), 5u);
    EXPECT_EQ(doc.document->saveToFile(target).error(), (Error{ErrorCode::Decompression, "bf1942/bad.con"}));
    EXPECT_EQ(readWholeFile(target), fixtures::bytesOf("kept"));
}

} // namespace
} // namespace larkspan
