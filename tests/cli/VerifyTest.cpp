#include "CliFixtures.h"
#include "RfaRunner.h"

#include "model/RFAArchive.h"

namespace larkspan::test {
namespace {

// "a/a/.../a", one component more than the reader accepts.
std::string tooDeepAPath()
{
    std::string path = "a";
    for (std::size_t i = 0; i < kMaxEntryDepth; ++i)
        path += "/a";
    return path;
}

class VerifyTest : public CliTest {};

// A passing archive is the packer archives' test; here the failures.
TEST_F(VerifyTest, ReportsEveryFailingEntryAndGoesOn)
{
    const Bytes abc = literalStream(bytesOf("abc"));
    const std::string archive = putArchive(archiveOf(
        {compressedEntry("bf1942/good1.con", bytesOf("fine")),
         {"bf1942/short.con", segmentedEntry({{abc, 20}}), 20},
         compressedEntry("bf1942/good2.con", bytesOf("also fine")),
         {"bf1942/garbage.con",
          segmentedEntry({{literalStream(bytesOf("ok")), 2}, {{0x00, 0x00, 0x00}, 9}}), 11},
         {"bf1942/astray.con", segmentedEntry({{abc, 3, 1000}}), 3},
         {"bf1942/lengths.con", segmentedEntry({{abc, 3}}), 5},
         rawEntry(tooDeepAPath(), bytesOf("deep"))},
        1));
    const RfaRun run = runRfa({"verify", archive});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    for (const std::string name : {"bf1942/short.con", "bf1942/garbage.con", "bf1942/astray.con"})
        EXPECT_TRUE(contains(run.err, "rfa: " + archive + ": " + name +
                                          ": the entry is damaged: its compressed data cannot be unpacked\n"))
            << name << " in\n"
            << run.err;
    EXPECT_TRUE(contains(run.err,
                         "bf1942/lengths.con: warning: decompresses to 3 bytes, the record says 5"))
        << run.err;
    EXPECT_TRUE(contains(run.err, ": the path is deeper than 1024 folders")) << run.err;
    EXPECT_FALSE(contains(run.err, "good")) << run.err;
    EXPECT_EQ(linesOf(run.err).size(), 6u) << run.err; // nothing else is reported
    EXPECT_TRUE(contains(run.err, "rfa: " + archive + ": 4 of 7 entries failed\n")) << run.err;
}

} // namespace
} // namespace larkspan::test
