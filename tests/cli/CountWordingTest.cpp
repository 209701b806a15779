#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

class CountWordingTest : public CliTest {};

TEST_F(CountWordingTest, OneEntryIsNotEntries)
{
    putArchive(archiveOf({rawEntry("bf1942/a.con", bytesOf("x"))}, 0), "one.rfa");
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> parts;
    } cases[] = {
        {{"verify", "one.rfa"}, {"one.rfa: 1 entry, all readable\n"}},
        {{"list", "-l", "one.rfa"}, {" 1 Byte  ", "(1 entry in all)\n"}},
        {{"info", "one.rfa"}, {"Total size:         1 Byte\n", "bf1942 (1 entry)\n"}},
    };
    for (const auto& c : cases) {
        const RfaRun run = runRfa(c.arguments, {temp.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        for (const std::string& part : c.parts)
            EXPECT_TRUE(contains(run.out, part)) << run.out;
    }
}

} // namespace
} // namespace larkspan::test
