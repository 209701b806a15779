#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

class ProgressTest : public CliTest {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 20; ++i)
            writeFile(temp / "bf1942/levels/Demo" / ("file" + std::to_string(i) + ".con"),
                      Bytes(1000, 'x'));
    }

    std::vector<std::string> packArguments() const
    {
        return {"pack", "bf1942/levels/Demo", "-o", (temp / "demo.rfa").string()};
    }
};

TEST_F(ProgressTest, DrawsAndWipesALineOnATerminal)
{
    const RfaRun run = runRfa(packArguments(), {temp.path(), true});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "\rreading files: 100%")) << run.err;
    EXPECT_TRUE(contains(run.err, "\rwriting " + (temp / "demo.rfa").string() + ": ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\r\x1b[K")) << run.err;

    const RfaRun extract =
        runRfa({"extract", (temp / "demo.rfa").string(), "-C", (temp / "out").string()},
               {temp.path(), true});
    EXPECT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_TRUE(contains(extract.err, "extracting ")) << extract.err;
}

TEST_F(ProgressTest, StaysOffWhenStderrIsNoTerminal)
{
    const RfaRun run = runRfa(packArguments(), {temp.path(), false});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
}

} // namespace
} // namespace larkspan::test
