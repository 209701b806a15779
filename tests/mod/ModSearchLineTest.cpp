#include "format/EntryCompression.h"
#include "mod/ModSearch.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using namespace fixtures;

// A content hit gives the line of the first match: numbered over every
// segment before it, trimmed, cut around the match when long, in UTF-8.
TEST(ModSearchLineTest, GivesTheLineOfTheFirstMatch)
{
    std::string past32KiB;
    for (int i = 0; i < 3000; ++i)
        past32KiB += "rem filler line\r\n";
    const struct {
        std::string name, text;
        std::size_t line; // 0: found by its name
        std::string shown;
    } cases[] = {
        {"a.con", "rem\r\n\tv\xe9hicule Spitfire  \r\nSpitfire\r\n", 2, "v\u00e9hicule Spitfire"},
        {"b.con", past32KiB + "x Spitfire\r\n", 3001, "x Spitfire"},
        {"c.con", std::string(100, 'a') + " spitfire " + std::string(200, 'b'), 1,
         "…" + std::string(39, 'a') + " spitfire " + std::string(119, 'b') + "…"},
        {"spitfire.tga", "Spitfire", 0, ""},
    };
    std::vector<StoredEntry> entries;
    for (const auto& c : cases)
        entries.push_back({"bf1942/" + c.name, compressEntry(bytesOf(c.text), CompressionLevel::Fast),
                           std::uint32_t(c.text.size())});
    TemporaryFolder game;
    const Bytes archive = archiveOf(entries, 1);
    game.write("Mods/M/Archives/a.rfa", std::string(archive.begin(), archive.end()));
    const Result<ModIndex> index = ModIndex::open(game.path() / "Mods/M");
    ASSERT_TRUE(index);
    const Result<std::vector<ModHit>> found = searchMod(*index, "SPITFIRE", true, true);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), std::size(cases));
    for (std::size_t i = 0; i < found->size(); ++i) {
        const ModHit& hit = (*found)[i];
        EXPECT_EQ(index->path(index->entries()[hit.entry]), "bf1942/" + cases[i].name);
        EXPECT_EQ(hit.hit ? hit.hit->line : 0, cases[i].line) << cases[i].name;
        EXPECT_EQ(hit.hit ? hit.hit->text : "", cases[i].shown) << cases[i].name;
    }
}

} // namespace
} // namespace larkspan
