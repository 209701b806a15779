#include "mod/ModIndex.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::plainArchive;
using Entries = std::vector<std::pair<std::string, std::string>>;

// A game folder with two mods, updates, case variants, a missing and a
// commented-out mod, and a damaged archive.
class ModIndexTest : public testing::Test {
protected:
    void SetUp() override
    {
        put("Mods/MyMod/Archives/objects.rfa", {{"bf1942/objects/tank.con", "base"},
                                                {"bf1942/objects/jeep.con", "jeep base"},
                                                {"bf1942/objects/plane.con", "plane base"}});
        put("Mods/MyMod/Archives/objects_001.rfa",
            {{"bf1942/objects/tank.con", "u1"}, {"bf1942/objects/jeep.con", "jeep u1"}});
        put("Mods/MyMod/Archives/Objects_003.RFA", {{"Bf1942/Objects/Tank.con", "u3"}});
        put("Mods/MyMod/Archives/zclash.rfa", {{"bf1942/objects/plane.con", "plane clash"}});
        put("Mods/MyMod/Archives/bf1942/levels/Berlin.rfa",
            {{"bf1942/levels/berlin/init.con", "mine"}, {"bf1942/levels/berlin/init.con", "second record"}});
        game.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f\0\0\0\0", 8));
        game.write("Mods/MyMod/Init.con", "rem game.addModPath Mods/Ghost/\r\n"
                                          "game.addModPath Mods/MyMod/\r\n"
                                          "  GAME.addModPath mods\\Base\r\n"
                                          "game.addModPath Mods/Missing/\r\n"
                                          "game.addModPath Mods/base/\r\n");
        put("Mods/BASE/archives/objects.rfa",
            {{"bf1942/objects/tank.con", "base mod"}, {"bf1942/base/only.con", "only base"}});
        put("Mods/BASE/archives/bf1942/levels/berlin.rfa", {{"bf1942/levels/berlin/init.con", "base berlin"}});
        put("Mods/Ghost/Archives/ghost.rfa", {{"bf1942/ghost.con", "boo"}});
    }

    void put(const std::string& path, const Entries& entries)
    {
        const Bytes bytes = plainArchive(entries);
        game.write(path, std::string(bytes.begin(), bytes.end()));
    }

    fixtures::TemporaryFolder game;
};

TEST_F(ModIndexTest, ResolvesEachPathAsTheGameDoes)
{
    const Result<ModIndex> index = ModIndex::open(game.path() / "Mods/MyMod/");
    ASSERT_TRUE(index);
    struct Case {
        std::string path, from, content;
        std::vector<std::string> overridden;
    };
    const std::string mine = "Mods/MyMod/Archives/";
    for (const Case& c : std::vector<Case>{
             {"bf1942/objects/tank.con", mine + "Objects_003.RFA", "u3",
              {mine + "objects_001.rfa", mine + "objects.rfa", "Mods/BASE/archives/objects.rfa"}},
             {"BF1942/objects/JEEP.con", mine + "objects_001.rfa", "jeep u1", {mine + "objects.rfa"}},
             {"bf1942/objects/plane.con", mine + "zclash.rfa", "plane clash", {mine + "objects.rfa"}},
             {"bf1942/levels/berlin/init.con", mine + "bf1942/levels/Berlin.rfa", "mine",
              {mine + "bf1942/levels/Berlin.rfa", "Mods/BASE/archives/bf1942/levels/berlin.rfa"}},
             {"bf1942/base/only.con", "Mods/BASE/archives/objects.rfa", "only base", {}},
             {"bf1942/ghost.con", "", "", {}},
         }) {
        SCOPED_TRACE(c.path);
        const ModEntry* entry = index->find(c.path);
        if (c.from.empty()) {
            EXPECT_EQ(entry, nullptr);
            continue;
        }
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(index->archive(entry->source).shownPath, c.from);
        const Result<SharedBytes> content = index->content(entry->source);
        ASSERT_TRUE(content);
        EXPECT_EQ(fixtures::text(*content), c.content);
        std::vector<std::string> overridden;
        for (const EntrySource& source : entry->overridden)
            overridden.push_back(index->archive(source).shownPath);
        EXPECT_EQ(overridden, c.overridden);
    }
    EXPECT_EQ(index->entries().size(), 5u);
    EXPECT_EQ(index->path(index->entries().front()), "bf1942/base/only.con");
}

TEST_F(ModIndexTest, ReportsMissingModsDamagedArchivesAndClashesBetweenFamilies)
{
    const Result<ModIndex> index = ModIndex::open(game.path() / "Mods/MyMod");
    ASSERT_TRUE(index);
    EXPECT_EQ(index->missingMods(), std::vector<std::string>{"Missing"});

    std::vector<std::string> failed;
    for (const ModArchive& archive : index->archives())
        if (archive.error) {
            failed.push_back(archive.shownPath);
            EXPECT_EQ(archive.error->code, ErrorCode::OutOfBounds);
        }
    EXPECT_EQ(failed, std::vector<std::string>{"Mods/MyMod/Archives/broken.rfa"});

    // Updates of one family are no clash; two families holding one path are.
    ASSERT_EQ(index->clashes().size(), 1u);
    const ModClash& clash = index->clashes().front();
    EXPECT_EQ(index->path(index->entries()[clash.entry]), "bf1942/objects/plane.con");
    ASSERT_EQ(clash.holders.size(), 2u);
    EXPECT_EQ(index->archive(clash.holders[0]).shownPath, "Mods/MyMod/Archives/zclash.rfa");
    EXPECT_EQ(index->archive(clash.holders[1]).shownPath, "Mods/MyMod/Archives/objects.rfa");
}

TEST_F(ModIndexTest, RefusesAFolderThatIsNotThere)
{
    const Result<ModIndex> index = ModIndex::open(game.path() / "Mods/Nothing");
    ASSERT_FALSE(index);
    EXPECT_EQ(index.error().code, ErrorCode::CannotRead);
}

} // namespace
} // namespace larkspan
