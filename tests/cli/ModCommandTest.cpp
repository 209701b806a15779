#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

// Two mods: MyMod (an update, a clash, a damaged archive, a missing mod
// listed) using Base.
class ModCommandTest : public CliTest {
protected:
    void SetUp() override
    {
        put("Mods/MyMod/Archives/objects.rfa", {rawEntry("bf1942/objects/tank.con", bytesOf("old Spitfire")),
                                                 rawEntry("bf1942/objects/jeep.con", bytesOf("jeep"))});
        put("Mods/MyMod/Archives/objects_001.rfa", {rawEntry("bf1942/Objects/Tank.con", bytesOf("new Spitfire"))});
        put("Mods/MyMod/Archives/other.rfa", {rawEntry("bf1942/objects/jeep.con", bytesOf("other jeep"))});
        writeFile(temp / "Mods/MyMod/Archives/broken.rfa", bytesOf("\xff\xff\xff\x7f"));
        writeFile(temp / "Mods/MyMod/init.con", bytesOf("game.addModPath Mods/Missing/\ngame.addModPath mods\\base\n"));
        put("Mods/Base/Archives/base.rfa", {rawEntry("bf1942/objects/tank.con", bytesOf("base Spitfire")),
                                            rawEntry("bf1942/base.con", bytesOf("base only"))});
        mod = (temp / "Mods/MyMod").string();
    }

    void put(const std::string& path, const std::vector<StoredEntry>& entries)
    {
        writeFile(temp / path, archiveOf(entries, 0));
    }

    std::string mod;
};

TEST_F(ModCommandTest, ListsAndFindsWhatTheGameSeesWithWarnings)
{
    const RfaRun list = runRfa({"mod", "list", "-l", mod});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "   9 Bytes  bf1942/base.con\tMods/Base/Archives/base.rfa\n"
                        "  10 Bytes  bf1942/objects/jeep.con\tMods/MyMod/Archives/other.rfa"
                        "\toverrides Mods/MyMod/Archives/objects.rfa\n"
                        "  12 Bytes  bf1942/Objects/Tank.con\tMods/MyMod/Archives/objects_001.rfa"
                        "\toverrides Mods/MyMod/Archives/objects.rfa, Mods/Base/Archives/base.rfa\n");
    for (const std::string& warning : std::vector<std::string>{
             "rfa: warning: " + mod + ": init.con uses the mod Missing, which is not in ",
          "rfa: warning: Mods/MyMod/Archives/broken.rfa: the archive is damaged: its directory points outside "
          "the file; left out\n",
          "rfa: warning: bf1942/objects/jeep.con: in archives that are not updates of one another "
          "(Mods/MyMod/Archives/other.rfa, Mods/MyMod/Archives/objects.rfa); Mods/MyMod/Archives/other.rfa wins\n"})
        EXPECT_TRUE(contains(list.err, warning)) << warning << "\nin\n" << list.err;

    const RfaRun which = runRfa({"mod", "which", mod, "BF1942/OBJECTS/TANK.CON", "bf1942/nothing.con", "bf1942/base.con"});
    EXPECT_EQ(which.exitCode, 1);
    EXPECT_EQ(which.out, "BF1942/OBJECTS/TANK.CON\tMods/MyMod/Archives/objects_001.rfa\n"
                         "bf1942/base.con\tMods/Base/Archives/base.rfa\n");
    EXPECT_TRUE(contains(which.err, "bf1942/nothing.con: no archive of the mod")) << which.err;
    // One path alone gives the bare archive, unless -H asks for the path.
    EXPECT_EQ(runRfa({"mod", "which", mod, "bf1942/base.con"}).out, "Mods/Base/Archives/base.rfa\n");
    EXPECT_EQ(runRfa({"mod", "which", "-H", mod, "bf1942/base.con"}).out,
              "bf1942/base.con\tMods/Base/Archives/base.rfa\n");

    const RfaRun grep = runRfa({"grep", "-F", "Spitfire", mod});
    EXPECT_EQ(grep.exitCode, 0) << grep.err;
    EXPECT_EQ(grep.out, "Mods/MyMod/Archives/objects_001.rfa:bf1942/Objects/Tank.con:1:new Spitfire\n");
}

TEST_F(ModCommandTest, ExtractsTheWinnersWithExtractsRules)
{
    const std::string out = (temp / "out").string();
    writeFile(temp / "out/bf1942/base.con", bytesOf("mine"));
    const RfaRun run = runRfa({"mod", "extract", mod, "-C", out, "bf1942/OBJECTS", "bf1942/base.con", "bf1942/none"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(filesBelow(temp / "out"),
              (std::vector<std::string>{"bf1942/Objects/Tank.con", "bf1942/base.con", "bf1942/objects/jeep.con"}));
    EXPECT_EQ(textOf(readFile(temp / "out/bf1942/Objects/Tank.con")), "new Spitfire");
    EXPECT_EQ(textOf(readFile(temp / "out/bf1942/base.con")), "mine");
    EXPECT_TRUE(contains(run.err, "kept the existing file")) << run.err;
    EXPECT_TRUE(contains(run.err, "bf1942/none: no such entry in the mod")) << run.err;

    const RfaRun forced = runRfa({"mod", "extract", "--force", mod, "-C", out, "bf1942/base.con"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(textOf(readFile(temp / "out/bf1942/base.con")), "base only");
}

} // namespace
} // namespace larkspan::test
