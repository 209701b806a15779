#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

using fixtures::Segment;

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
