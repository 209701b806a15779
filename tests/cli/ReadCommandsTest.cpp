#include "CliFixtures.h"
#include "RfaRunner.h"

#include "model/RFAArchive.h"

#include <regex>

namespace larkspan::test {
namespace {

using namespace std::string_view_literals;

class ListTest : public CliTest {};

TEST_F(ListTest, PrintsFullPathsInRecordOrderAsUtf8WithControlCharactersEscaped)
{
    const std::string archive = putArchive(archiveOf(
        {rawEntry("bf1942/b/y.con", bytesOf("y")), rawEntry("bf1942/a/x.con", bytesOf("x")),
         rawEntry("bf1942/caf\xE9.con", bytesOf("")), rawEntry("bf1942/\x1B[2Jx\n.con", bytesOf("")),
         rawEntry("bf1942/a/x.con", bytesOf("again")), rawEntry("bf1942/\x92quote", bytesOf(""))},
        0));
    const RfaRun run = runRfa({"list", archive});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "bf1942/b/y.con\nbf1942/a/x.con\nbf1942/caf\xC3\xA9.con\nbf1942/\\x1B[2Jx\\x0A.con\n"
                       "bf1942/a/x.con\nbf1942/\\x92quote\n");
    EXPECT_EQ(run.err, "");
}

// "1 entry", not "1 entries", in every command that counts.
TEST_F(ListTest, CountsOfOneTakeTheSingular)
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

TEST_F(ListTest, LongFormatShowsSizesStoredSizesAndCompression)
{
    const Bytes big(3000, 'b');
    const std::string archive =
        putArchive(archiveOf({rawEntry("bf1942/big.bin", big),
                                 compressedEntry("bf1942/small.con", bytesOf("hello, world")),
                                 rawEntry("bf1942/empty.con", {})},
                                1));
    const RfaRun run = runRfa({"list", "-l", archive});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The compressed entry: 12 bytes of content in 4 + 12 + 1 + 12 + 3 stored bytes.
    const std::regex expected(R"(\s*3 KB\s+3 KB\s+1\.000\s+raw\s+bf1942/big\.bin\n)"
                              R"(\s*12 Bytes\s+32 Bytes\s+2\.667\s+compressed\s+bf1942/small\.con\n)"
                              R"(\s*0 Bytes\s+0 Bytes\s+-\s+raw\s+bf1942/empty\.con\n)"
                              R"(\s*3 KB\s+3 KB\s+1\.007\s+compressed\s+\(3 entries in all\)\n)");
    EXPECT_TRUE(std::regex_match(run.out, expected)) << run.out;
}

class InfoTest : public CliTest {};

TEST_F(InfoTest, DescribesLayoutCompressionCountsSizesAndTopLevelFolders)
{
    const std::string archive = putArchive(
        archiveOf({rawEntry("bf1942/a.con", Bytes(2048, 'a')),
                      compressedEntry("bf1942/b.con", bytesOf("hello, world")),
                      rawEntry("mods/c.con", bytesOf("c")), rawEntry("loose.txt", bytesOf("d"))},
                     7, true));
    const RfaRun run = runRfa({"info", archive});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const std::string line :
         {"Layout:             identified (\"Refractor2 FlatArchive 1.1\" header)\n",
          "Compression flag:   7 (entries whose stored size differs from their size are "
          "compressed)\n",
          "Entries:            4 (1 compressed, 3 raw)\n",
          "Total size:         3 KB (2062 bytes)\n", "Stored size:        3 KB (2082 bytes)\n",
          "Form:               compressed, stored/size 1.010\n",
          "Top-level folders:  bf1942 (2 entries), mods (1 entry)\n", "Top-level files:    1\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "in\n" << run.out;
}

class CatTest : public CliTest {};

TEST_F(CatTest, WritesOneEntryOrSaysWhyNot)
{
    const StoredEntry broken{"bf1942/broken.con", segmentedEntry({{literalStream(bytesOf("abc")), 9}}), 9};
    const std::string archive = putArchive(archiveOf(
        {rawEntry("bf1942/binary.bin", bytesOf("\0\x01\xFF\r\n\0"sv)), broken,
         compressedEntry("bf1942/levels/Init.con", bytesOf("run Init/Terrain\r\n")),
         rawEntry("bf1942/empty.txt", {}), rawEntry("bf1942/twice.txt", bytesOf("first")),
         rawEntry("bf1942/twice.txt", bytesOf("second"))},
        1));
    const struct {
        std::string path;
        int exitCode;
        std::string out;
        std::string errorText; // after "rfa: ARCHIVE: PATH: "
    } cases[] = {
        {"bf1942/binary.bin", 0, std::string("\0\x01\xFF\r\n\0"sv), ""},
        {"bf1942/levels/Init.con", 0, "run Init/Terrain\r\n", ""},
        {"bf1942/empty.txt", 0, "", ""},
        {"bf1942/twice.txt", 0, "first", ""},
        {"bf1942/missing.con", 1, "", "no such entry in the archive"},
        {"bf1942/levels/init.con", 1, "", "no such entry in the archive"},
        {"bf1942/levels", 1, "", "is a folder; cat shows one file"},
        {"bf1942/broken.con", 1, "", "the entry is damaged: its compressed data cannot be unpacked"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const RfaRun run = runRfa({"cat", archive, c.path});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.errorText.empty() ? "" : "rfa: " + archive + ": " + c.path + ": " + c.errorText + "\n");
    }
}

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
    // The archives after a failing one are checked too.
    const std::string good = putArchive(archiveOf({rawEntry("bf1942/a.con", bytesOf("x"))}, 0), "good.rfa");
    const RfaRun run = runRfa({"verify", archive, good});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, good + ": 1 entry, all readable\n");
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
