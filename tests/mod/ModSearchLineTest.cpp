#include "format/EntryCompression.h"
#include "mod/ModSearch.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using namespace fixtures;

// A content hit tells which line holds the first match: its number counted
// over every segment before it, and the line's text trimmed, cut around the
// match when long, in UTF-8.
TEST(ModSearchLineTest, GivesTheLineOfTheFirstMatch)
{
    // Past the first 32 KiB segment, so that lines are counted across segments.
    std::string longScript;
    for (int i = 0; i < 3000; ++i)
        longScript += "rem filler line\r\n"; // 17 bytes, 51,000 in all
    longScript += "ObjectTemplate.create PlaneAirframe Spitfire\r\n";
    const std::string longLine = std::string(100, 'a') + " Spitfire " + std::string(200, 'b');
    const struct {
        std::string name, text, pattern;
        bool matches;
        std::size_t line;
        std::string shown;
    } cases[] = {
        {"a.con", "rem one\r\n\tObjectTemplate.create Spitfire  \r\nSpitfire again\r\n", "SPITFIRE", true, 2,
         "ObjectTemplate.create Spitfire"},
        {"b.con", longScript, "planeairframe", true, 3001, "ObjectTemplate.create PlaneAirframe Spitfire"},
        {"c.con", longLine, "spitfire", true, 1,
         "…" + std::string(39, 'a') + " Spitfire " + std::string(119, 'b') + "…"},
        {"d.con", "v\xe9hicule\nlast", "VEHICULE", true, 1, "v\u00e9hicule"},
        {"e.con", "first\nlast", "last", true, 2, "last"},
        {"spitfire.tga", "Spitfire", "spitfire", true, 0, ""}, // by name: no line
        {"f.con", "nothing here", "spitfire", false, 0, ""},
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

    for (const auto& c : cases) {
        const Result<std::vector<ModHit>> found = searchMod(*index, c.pattern, true, true);
        ASSERT_TRUE(found);
        const ModHit* hit = nullptr;
        for (const ModHit& each : *found)
            if (index->path(index->entries()[each.entry]) == "bf1942/" + c.name)
                hit = &each;
        ASSERT_EQ(hit != nullptr, c.matches) << c.name;
        if (!hit)
            continue;
        ASSERT_EQ(hit->hit.has_value(), c.line != 0) << c.name;
        if (hit->hit) {
            EXPECT_EQ(hit->hit->line, c.line) << c.name;
            EXPECT_EQ(hit->hit->text, c.shown) << c.name;
        }
    }
}

} // namespace
} // namespace larkspan
