#include "CliFixtures.h"
#include "RfaRunner.h"

namespace larkspan::test {
namespace {

namespace fs = std::filesystem;

using FileNamesTest = CliTest;

// Paths given on the command line and the names of files reach the file
// system as they are, whatever their characters (Windows hands them over in
// UTF-16); the archive stores names in Latin-1 and leaves out what lies beyond.
TEST_F(FileNamesTest, GoFromTheCommandLineToFilesAndIntoTheArchiveBeyondAscii)
{
    const fs::path source = temp / "m\xC3\xB6" "d \xE2\x98\x83"; // "möd ☃"
    writeFile(source / "caf\xC3\xA9.con", bytesOf("e"));
    writeFile(source / "snow\xE2\x98\x83.con", bytesOf("s"));
    const std::string archive = (temp / "\xE2\x98\x83.rfa").string();

    const RfaRun packed = runRfa({"pack", source.string(), "--as", "bf1942", "-o", archive});
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(runRfa({"list", archive}).out, "bf1942/caf\xC3\xA9.con\n");

    const fs::path destination = temp / "\xC3\xA9t\xC3\xA9 \xE2\x98\x83"; // "été ☃"
    const RfaRun extracted = runRfa({"extract", archive, "-C", destination.string(), "bf1942/caf\xC3\xA9.con"});
    EXPECT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"bf1942/caf\xC3\xA9.con"});
}

// Windows reads "C:x" as a file on drive C, outside any folder it is joined
// to: there the entry is refused; elsewhere it is a name like any other.
TEST_F(FileNamesTest, AreWrittenInTheChosenFolderOrRefusedNeverElsewhere)
{
    const std::string archive = putArchive(archiveOf({rawEntry("bf1942/C:x.con", bytesOf("x"))}, 0));
    const RfaRun run = runRfa({"extract", archive, "-C", (temp / "out").string()});
    const bool written = fs::exists(temp / "out/bf1942/C:x.con");
    EXPECT_EQ(run.exitCode, written ? 0 : 1) << run.err;
    EXPECT_EQ(contains(run.err, "C:x.con: skipped: the name holds a character Windows does not allow"), !written)
        << run.err;
}

} // namespace
} // namespace larkspan::test
