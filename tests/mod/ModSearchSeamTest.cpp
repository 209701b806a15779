#include "mod/ModSearch.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace larkspan {
namespace {

using namespace fixtures;

// One literal run: an LZO1X stream of the bytes as they are (1 to 238).
Bytes literalStream(std::string_view text)
{
    Bytes stream{static_cast<std::uint8_t>(17 + text.size())};
    stream.insert(stream.end(), text.begin(), text.end());
    stream.insert(stream.end(), {0x11, 0x00, 0x00});
    return stream;
}

// The mod window's content search reads an entry a segment at a time and
// stops at the first match: a match cut between two segments, at every cut,
// must still be found, and a damaged segment after a match goes unread.
TEST(ModSearchSeamTest, FindsAMatchCutBetweenSegmentsAndStopsAtIt)
{
    const std::string text = "rem e\r\nObjectTemplate.create PlaneAirframe Spitfire\r\n";
    std::vector<StoredEntry> entries;
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        const std::string head = text.substr(0, cut), tail = text.substr(cut);
        entries.push_back({"bf1942/cut" + std::to_string(100 + cut) + ".con",
                           segmentedEntry({{literalStream(head), std::uint32_t(head.size())},
                                           {literalStream(tail), std::uint32_t(tail.size())}}),
                           std::uint32_t(text.size())});
    }
    entries.push_back({"bf1942/damaged.con", segmentedEntry({{literalStream("Spitfire"), 8}, {bytesOf("\xff\xff"), 9}}), 17});
    entries.push_back({"bf1942/other.con", segmentedEntry({{literalStream("Spit"), 4}, {literalStream("e fire"), 6}}), 10});
    TemporaryFolder game;
    const Bytes archive = archiveOf(entries, 1);
    game.write("Mods/M/Archives/a.rfa", std::string(archive.begin(), archive.end()));
    const Result<ModIndex> index = ModIndex::open(game.path() / "Mods/M");
    ASSERT_TRUE(index);

    for (const std::string pattern : {"planeAIRFRAME spitfire", "e\r\nob", "spitfire"}) {
        const Result<std::vector<ModHit>> found = searchMod(*index, pattern, false, true);
        ASSERT_TRUE(found);
        std::vector<std::string> names;
        for (const ModHit& hit : *found)
            names.push_back(index->path(index->entries()[hit.entry]));
        const bool shortOne = pattern == "spitfire";
        EXPECT_EQ(names.size(), text.size() - 1 + (shortOne ? 1 : 0)) << pattern;
        EXPECT_EQ(std::count(names.begin(), names.end(), "bf1942/damaged.con"), shortOne ? 1 : 0) << pattern;
        EXPECT_EQ(std::count(names.begin(), names.end(), "bf1942/other.con"), 0) << pattern;
    }
}

} // namespace
} // namespace larkspan
