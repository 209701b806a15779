#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

// A match across the 16 KiB pieces in which text is folded for -i.
const std::string longText = "first\n" + std::string(16374, 'x') + "Hurricane";

class GrepDiffTest : public CliTest {
protected:
    void SetUp() override
    {
        const std::string script = "first\r\nObjectTemplate.create PlaneAirframe Spitfire\r\nCAF\xC9\r\n";
        a = putArchive(archiveOf({rawEntry("bf1942/a.con", bytesOf(script)),
                                     rawEntry("bf1942/b.txt", bytesOf("nothing\nspitfire")),
                                     rawEntry("bf1942/c.dds", bytesOf("Spitfire")),
                                     rawEntry("bf1942/gone.con", bytesOf("x")),
                                     rawEntry("bf1942/long.txt", bytesOf(longText))},
                                    0),
                       "A.rfa");
        // The same script stored compressed, a changed one, one removed, one added.
        b = putArchive(archiveOf({compressedEntry("bf1942/A.con", bytesOf(script)),
                                     rawEntry("bf1942/b.txt", bytesOf("nothing\nSpitfire")),
                                     rawEntry("bf1942/c.dds", bytesOf("Spitfire")),
                                     rawEntry("bf1942/new.con", bytesOf("y")),
                                     rawEntry("bf1942/long.txt", bytesOf(longText))},
                                    1),
                       "B.rfa");
    }

    std::string a, b;
};

TEST_F(GrepDiffTest, PrintsWhatItFoundAndExitsAsGrepAndDiffDo)
{
    const struct {
        std::vector<std::string> arguments; // "@A" and "@B" stand for the archives
        int exitCode;
        std::string out;
        std::string errorPart = {};
    } cases[] = {
        {{"grep", "-F", "Spitfire", "A.rfa"}, 0, "A.rfa:bf1942/a.con:2:ObjectTemplate.create PlaneAirframe Spitfire\n"},
        {{"grep", "-i", "-F", "SPITFIRE", "A.rfa"}, 0,
         "A.rfa:bf1942/a.con:2:ObjectTemplate.create PlaneAirframe Spitfire\nA.rfa:bf1942/b.txt:2:spitfire\n"},
        {{"grep", "-l", "-i", "spit.*E$", "A.rfa", "B.rfa"}, 0,
         "A.rfa:bf1942/a.con\nA.rfa:bf1942/b.txt\nB.rfa:bf1942/A.con\nB.rfa:bf1942/b.txt\n"},
        {{"grep", "-i", "caf\xC3\xA9", "A.rfa"}, 0, "A.rfa:bf1942/a.con:3:CAF\xC3\x89\n"},
        {{"grep", "-F", "Typhoon", "A.rfa"}, 1, ""},
        {{"grep", "-i", "-F", "HURRICANE", "A.rfa"}, 0, "A.rfa:bf1942/long.txt:2:" + longText.substr(6) + "\n"},
        {{"grep", "(", "A.rfa"}, 2, "", "not a valid regular expression"},
        {{"grep", "-F", "Spitfire", "A.rfa", "missing.rfa"}, 2,
         "A.rfa:bf1942/a.con:2:ObjectTemplate.create PlaneAirframe Spitfire\n", "missing.rfa: cannot be read"},
        {{"diff", "@A", "@B"}, 1, "M bf1942/b.txt\nD bf1942/gone.con\nA bf1942/new.con\n"},
        {{"diff", "@B", "@A"}, 1, "M bf1942/b.txt\nA bf1942/gone.con\nD bf1942/new.con\n"},
        {{"diff", "@A", "@A"}, 0, ""},
        {{"diff", "@A", "missing.rfa"}, 2, "", "missing.rfa: cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        std::vector<std::string> arguments;
        for (const std::string& argument : c.arguments)
            arguments.push_back(argument == "@A" ? a : argument == "@B" ? b : argument);
        const RfaRun run = runRfa(arguments, {temp.path()});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(contains(run.err, c.errorPart)) << run.err;
    }
}

// Entries are searched on several threads but printed in their order.
TEST_F(GrepDiffTest, PrintsManyEntriesInTheirOrder)
{
    std::vector<StoredEntry> entries;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "bf1942/e" + std::to_string(i) + ".con";
        entries.push_back(rawEntry(name, bytesOf(std::string(i * 50, '-') + "\nhit")));
        expected += "many.rfa:" + name + ":2:hit\n";
    }
    putArchive(archiveOf(entries, 0), "many.rfa");
    const RfaRun run = runRfa({"grep", "hit", "many.rfa"}, {temp.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

} // namespace
} // namespace larkspan::test
