#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

using namespace std::string_view_literals;

// Each kind of mistake exits 2 (not the parser's own codes); the version
// exits 0.
TEST(UsageTest, ExitsWithCodeAndMessage)
{
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string inOut; // expected in stdout
        std::string inErr; // expected in stderr
    } cases[] = {
        {{}, 2, "", "rfa: A subcommand is required"},
        {{"list", "a.rfa", "b.rfa"}, 2, "", "rfa: "},
        {{"list", "--bogus", "a.rfa"}, 2, "", "--bogus"},
        {{"--version"}, 0, "rfa ", ""},
        {{"pack", "--help"}, 0, "  --compress[=fast|best]  ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const RfaRun run = runRfa(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(contains(run.out, c.inOut)) << run.out;
        EXPECT_TRUE(contains(run.err, c.inErr)) << run.err;
    }
}

// Every reading command fails alike on a file that is missing, whose
// directory is cut short, or that is no archive, naming the archive.
TEST_F(CliTest, ReadingCommandsExitWithOneNamingAnUnreadableArchive)
{
    Bytes cutShort = archiveOf({rawEntry("bf1942/z.txt", bytesOf("z"))}, 0);
    cutShort.resize(cutShort.size() - 6); // the record's trailer is gone
    // The identification string with zeros for its two spaces reads as the
    // plain layout, whose directory offset is then text.
    const std::string damaged = "the archive is damaged: its directory points outside the file";
    const std::pair<std::string, std::string> files[] = {
        {(temp / "missing.rfa").string(), "cannot be read"},
        {putArchive(cutShort, "broken.rfa"), damaged + " (at record 1 of 1)\n"},
        {putArchive(bytesOf("Refractor2 FlatArchive 1.1\0\0 and then text"sv), "text.rfa"), damaged + "\n"},
    };
    for (const std::string command : {"list", "info", "cat", "extract", "verify"}) {
        for (const auto& [archive, message] : files) {
            std::vector<std::string> arguments{command, archive};
            if (command == "cat")
                arguments.push_back("bf1942/a.txt");
            if (command == "extract")
                arguments.insert(arguments.end(), {"-C", (temp / "out").string()});
            const RfaRun run = runRfa(arguments);
            EXPECT_EQ(run.exitCode, 1) << command << " " << archive;
            EXPECT_TRUE(contains(run.err, "rfa: " + archive + ": " + message)) << command << ": " << run.err;
        }
    }
}

} // namespace
} // namespace larkspan::test
