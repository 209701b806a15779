#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

// The build packs examples/ into demo.rfa with the tool itself; the archive
// must hold the level's files byte for byte, CRLF scripts included.
TEST(DemoArchiveTest, HoldsTheExampleLevelByteForByte)
{
    const std::filesystem::path examples = std::filesystem::path(LARKSPAN_SOURCE_DIR) / "examples";
    const std::vector<std::string> files = filesBelow(examples / "bf1942");
    ASSERT_FALSE(files.empty());

    TemporaryFolder temp;
    const RfaRun run = runRfa({"extract", DEMO_ARCHIVE, "-C", temp.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(filesBelow(temp / "bf1942"), files);
    for (const std::string& file : files)
        EXPECT_EQ(readFile(temp / "bf1942" / file), readFile(examples / "bf1942" / file)) << file;
    EXPECT_TRUE(contains(textOf(readFile(temp / "bf1942/levels/Demo/Init.con")), "\r\n"));
}

} // namespace
} // namespace larkspan::test
