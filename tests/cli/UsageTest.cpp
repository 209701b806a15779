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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const RfaRun run = runRfa(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(contains(run.out, c.inOut)) << run.out;
        EXPECT_TRUE(contains(run.err, c.inErr)) << run.err;
    }
}

class UnreadableArchiveTest : public CliTest, public testing::WithParamInterface<std::string> {};

// Every reading command fails alike on a file that is missing or whose
// directory is cut short, naming the archive.
TEST_P(UnreadableArchiveTest, ExitsWithOneNamingTheArchive)
{
    const std::string command = GetParam();
    const auto argumentsFor = [&](const std::string& archive) {
        std::vector<std::string> arguments{command, archive};
        if (command == "cat")
            arguments.push_back("bf1942/a.txt");
        if (command == "extract")
            arguments.insert(arguments.end(), {"-C", (temp / "out").string()});
        return arguments;
    };

    const std::string missing = (temp / "missing.rfa").string();
    const RfaRun missingRun = runRfa(argumentsFor(missing));
    EXPECT_EQ(missingRun.exitCode, 1);
    EXPECT_NE(missingRun.err.find("rfa: " + missing + ": cannot be read"), std::string::npos)
        << missingRun.err;

    Bytes cutShort = archiveOf({rawEntry("bf1942/z.txt", bytesOf("z"))}, 0);
    cutShort.resize(cutShort.size() - 6); // the record's trailer is gone
    const std::string broken = putArchive(cutShort, "broken.rfa");
    const RfaRun brokenRun = runRfa(argumentsFor(broken));
    EXPECT_EQ(brokenRun.exitCode, 1);
    EXPECT_NE(brokenRun.err.find("rfa: " + broken + ": record 1 of 1 lies outside the file"),
              std::string::npos)
        << brokenRun.err;

    // The identification string with zeros for its two spaces reads as the
    // plain layout, whose directory offset is then text.
    const std::string text =
        putArchive(bytesOf("Refractor2 FlatArchive 1.1\0\0 and then text"sv), "text.rfa");
    const RfaRun textRun = runRfa(argumentsFor(text));
    EXPECT_EQ(textRun.exitCode, 1);
    EXPECT_NE(textRun.err.find("rfa: " + text + ": not an archive"), std::string::npos)
        << textRun.err;
}

INSTANTIATE_TEST_SUITE_P(ReadingCommands, UnreadableArchiveTest,
                         testing::Values("list", "info", "cat", "extract", "verify"));

} // namespace
} // namespace larkspan::test
