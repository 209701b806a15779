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
         "A.rfa:bf1942/a.con:2:ObjectTemplate.create PlaneAirframe Spitfire\n", "missing.rfa: cannot be read: No such"},
        {{"diff", "@A", "@B"}, 1, "M bf1942/b.txt\nD bf1942/gone.con\nA bf1942/new.con\n"},
        {{"diff", "@B", "@A"}, 1, "M bf1942/b.txt\nA bf1942/gone.con\nD bf1942/new.con\n"},
        {{"diff", "@A", "@A"}, 0, ""},
        {{"diff", "@A", "missing.rfa"}, 2, "", "missing.rfa: cannot be read: No such"},
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

// Entries are searched a decoded segment at a time: a line, or a match, cut
// between two segments must be found as in the whole text, with its number.
class GrepSegmentsTest : public CliTest {};

// The text in two segments, cut after `cut` bytes.
StoredEntry cutInTwo(const std::string& name, const std::string& text, std::size_t cut)
{
    const Bytes head = bytesOf(text.substr(0, cut)), tail = bytesOf(text.substr(cut));
    return {name,
            segmentedEntry({{literalStream(head), static_cast<std::uint32_t>(head.size())},
                            {literalStream(tail), static_cast<std::uint32_t>(tail.size())}}),
            static_cast<std::uint32_t>(text.size())};
}

TEST_F(GrepSegmentsTest, FindsLinesAndMatchesAcrossEveryCut)
{
    const std::string text = "rem one\r\nObjectTemplate.create Spitfire\r\nend";
    std::vector<StoredEntry> entries;
    std::string expectNames, expectLines;
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        const std::string name = "bf1942/cut" + std::to_string(100 + cut) + ".con";
        entries.push_back(cutInTwo(name, text, cut));
        expectNames += "cut.rfa:" + name + "\n";
        expectLines += "cut.rfa:" + name + ":2:ObjectTemplate.create Spitfire\n";
    }
    putArchive(archiveOf(entries, 1), "cut.rfa");
    const struct {
        std::vector<std::string> arguments;
        std::string out;
    } cases[] = {
        {{"grep", "-l", "-F", "-i", "SPITFIRE"}, expectNames},
        {{"grep", "-l", "create Spit.*e$"}, expectNames},
        {{"grep", "-F", "-i", "te.create spit"}, expectLines},
        {{"grep", "^Object.*fire$"}, expectLines},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("cut.rfa");
        const RfaRun run = runRfa(arguments, {temp.path()});
        EXPECT_EQ(run.exitCode, 0) << arguments[2] << run.err;
        EXPECT_EQ(run.out, c.out) << arguments[2];
    }
}

// -l reads an entry only up to its first match, as grep -l reads a file:
// a damaged segment after it goes unread. Every line wanted reads it all.
TEST_F(GrepSegmentsTest, NamesOnlyStopsReadingAtTheFirstMatch)
{
    const Bytes head = bytesOf("Spitfire\n");
    const Bytes stored = segmentedEntry({{literalStream(head), 9}, {bytesOf("\xff\xff"), 50}});
    putArchive(archiveOf({{"bf1942/a.con", stored, 59}}, 1), "damaged.rfa");

    const RfaRun names = runRfa({"grep", "-l", "-F", "Spitfire", "damaged.rfa"}, {temp.path()});
    EXPECT_EQ(names.exitCode, 0) << names.err;
    EXPECT_EQ(names.out, "damaged.rfa:bf1942/a.con\n");

    const RfaRun lines = runRfa({"grep", "-F", "Spitfire", "damaged.rfa"}, {temp.path()});
    EXPECT_EQ(lines.exitCode, 2);
    EXPECT_EQ(lines.out, "damaged.rfa:bf1942/a.con:1:Spitfire\n");
    EXPECT_TRUE(contains(lines.err, "bf1942/a.con: the entry is damaged")) << lines.err;
}

} // namespace
} // namespace larkspan::test
