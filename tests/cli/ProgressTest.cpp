#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

// A line drawn and wiped on a terminal, nothing in a pipe or log.
TEST_F(CliTest, ProgressShowsOnATerminalOnly)
{
    for (int i = 0; i < 20; ++i)
        writeFile(temp / "bf1942/levels/Demo" / ("file" + std::to_string(i) + ".con"), Bytes(1000, 'x'));
    const std::string archive = (temp / "demo.rfa").string();
    const std::vector<std::string> pack{"pack", "bf1942/levels/Demo", "-o", archive};
    const RfaRun quiet = runRfa(pack, {temp.path(), false});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");

    const RfaRun run = runRfa(pack, {temp.path(), true});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "\rreading files: 100%")) << run.err;
    EXPECT_TRUE(contains(run.err, "\rwriting " + archive + ": ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\r\x1b[K")) << run.err;
    const RfaRun extract = runRfa({"extract", archive, "-C", (temp / "out").string()}, {temp.path(), true});
    EXPECT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_TRUE(contains(extract.err, "extracting ")) << extract.err;
}

} // namespace
} // namespace larkspan::test
