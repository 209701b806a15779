#include "CliFixtures.h"
#include "RfaRunner.h"

#include "model/FileSystemImport.h"
#include "model/RFAArchive.h"

#include <sys/stat.h>

namespace larkspan::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

Bytes everyByteValue()
{
    Bytes bytes;
    for (int round = 0; round < 3; ++round)
        for (int value = 0; value < 256; ++value)
            bytes.push_back(static_cast<std::uint8_t>(value));
    return bytes;
}

// The level's files in the order pack stores them: each folder's files by
// name (bytewise, so capitals first), then its subfolders by name.
const std::vector<std::pair<std::string, Bytes>>& levelFiles()
{
    static const std::vector<std::pair<std::string, Bytes>> files{
        {"B.bin", everyByteValue()},
        {"Init.con", bytesOf("rem Demo\r\nrun Init/Terrain\r\n")},
        {"a.txt", {}},
        {"caf\xC3\xA9.txt", bytesOf("Latin-1 name")},
        {"Sub/z.con", bytesOf("z\r\n")},
        {"Sub/Deeper/x.raw", Bytes(4096, 0x7F)},
        {"a/y.txt", bytesOf("y")},
    };
    return files;
}

class PackTest : public CliTest {
protected:
    void SetUp() override
    {
        for (const auto& [path, content] : levelFiles())
            writeFile(level() / path, content);
    }

    fs::path mod() const { return temp / "mod"; }
    fs::path level() const { return mod() / "bf1942/levels/Demo"; }
    std::string archive() const { return (temp / "demo.rfa").string(); }

    RfaRun pack(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), "pack");
        return runRfa(arguments, {mod()});
    }

    // Beside the plain files: a link to a file and one to a folder (both
    // followed), one to nothing and one to a folder it lies in, a pipe, and
    // an empty folder.
    void addLinksAndSpecialFiles() const
    {
        fs::create_directories(level() / "Empty");
        fs::create_directory_symlink(level() / "Sub", level() / "LinkedFolder");
        fs::create_directory_symlink(level(), level() / "a/loop");
        fs::create_symlink(level() / "a/y.txt", level() / "a/linked.txt");
        fs::create_symlink(level() / "nowhere", level() / "a/dangling");
        ASSERT_EQ(::mkfifo((level() / "a/pipe").c_str(), 0600), 0);
    }

    std::vector<std::string> listed() const
    {
        const RfaRun run = runRfa({"list", archive()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return linesOf(run.out);
    }
};

TEST_F(PackTest, RoundTripsThroughListAndExtractByteForByte)
{
    const RfaRun packed = pack({"bf1942/levels/Demo", "-o", archive()});
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(packed.err, "");

    std::vector<std::string> expected;
    for (const auto& [path, content] : levelFiles())
        expected.push_back("bf1942/levels/Demo/" + path);
    EXPECT_EQ(listed(), expected);

    const RfaRun extracted = runRfa({"extract", archive(), "-C", (temp / "out").string()});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(filesBelow(temp / "out"), filesBelow(mod()));
    for (const auto& [path, content] : levelFiles())
        EXPECT_EQ(readFile(temp / "out/bf1942/levels/Demo" / path), content) << path;
}

TEST_F(PackTest, TidiesHarmlessNamesAndRefusesUnsafeOnes)
{
    const struct {
        std::vector<std::string> arguments; // "$ABS" stands for the level's absolute path
        int exitCode;
        std::string expected; // the first entry's folder, or part of the usage message
    } cases[] = {
        {{".//./bf1942//levels/Demo//"}, 0, "bf1942/levels/Demo"},
        {{"$ABS", "--as", "bf1942/levels/Demo"}, 0, "bf1942/levels/Demo"},
        {{"bf1942/levels/Demo", "--as", "./mods/Demo/"}, 0, "mods/Demo"},
        {{"bf1942/levels/Demo", "--as", "Demo"}, 0, "Demo"},
        {{"$ABS"}, 2, "starts at the file-system root; name them with --as NAME"},
        {{"bf1942/levels/../levels/Demo"}, 2,
         "has a \"..\" component, which would climb out of the folder; name them with --as"},
        {{"."}, 2, "has a \".\" component"},
        {{"bf1942/levels/Demo", "--as", "../evil"}, 2, "--as ../evil: the name has a \"..\""},
        {{"bf1942/levels/Demo", "--as", ""}, 2, "the name is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        fs::remove(archive());
        std::vector<std::string> arguments{"-o", archive()};
        for (const std::string& argument : c.arguments)
            arguments.push_back(argument == "$ABS" ? level().string() : argument);
        const RfaRun run = pack(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(listed().front(), c.expected + "/B.bin");
        } else {
            EXPECT_TRUE(contains(run.err, "rfa: pack: ")) << run.err;
            EXPECT_TRUE(contains(run.err, c.expected)) << run.err;
            EXPECT_FALSE(fs::exists(archive()));
        }
    }
}

// What an archive cannot hold is left out with a warning. Adding the folder
// in the editor walks it alike: the same entries in the same order, hence
// the same archive.
TEST_F(PackTest, WarnsAboutWhatAnArchiveCannotHoldAndMakesTheArchiveTheEditorSaves)
{
    addLinksAndSpecialFiles();
    writeFile(level() / "snow\xE2\x98\x83.txt", bytesOf("beyond Latin-1"));

    const RfaRun run = pack({"bf1942/levels/Demo", "-o", archive()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const std::string warning :
         {"Demo/Empty: warning: empty folder left out",
          "a/loop: warning: link to a folder it lies in left out",
          "a/dangling: warning: link that leads nowhere left out",
          "a/pipe: warning: neither a file nor a folder; left out",
          "snow\xE2\x98\x83.txt: warning: the name has characters beyond Latin-1, which an archive cannot hold; left out"})
        EXPECT_TRUE(contains(run.err, warning)) << warning << " in\n" << run.err;

    const std::vector<std::string> names = listed();
    for (const char* followed : {"a/linked.txt", "LinkedFolder/z.con", "LinkedFolder/Deeper/x.raw"})
        EXPECT_NE(std::find(names.begin(), names.end(), "bf1942/levels/Demo/" + std::string(followed)), names.end())
            << followed;
    EXPECT_EQ(names.size(), levelFiles().size() + 3);

    RFAArchive added;
    const RFATreeNode::Ptr levels = RFATreeNode::initAsDirectory("levels", added.root());
    added.root()->appendChild(levels);
    levels->appendChild(nodeFromFile(level(), levels));
    EXPECT_TRUE(*added.completeFileData() == readFile(archive())) << "the archives differ";
}

TEST_F(PackTest, FailsWithoutTouchingAnExistingArchive)
{
    writeFile(archive(), bytesOf("the old archive"));
    writeFile(level() / "Sub/back\\slash.con", bytesOf("x"));
    const RfaRun run = pack({"bf1942/levels/Demo", "-o", archive()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "back\\slash.con: the name holds a backslash")) << run.err;
    EXPECT_TRUE(contains(run.err, archive() + ": nothing written")) << run.err;
    EXPECT_EQ(textOf(readFile(archive())), "the old archive");
    EXPECT_EQ(filesBelow(temp.path()).size(), filesBelow(mod()).size() + 1)
        << "a temporary file was left";
}

TEST_F(PackTest, RefusesFilesBeyondTheFormatsFourGibibytes)
{
    const fs::path huge = level() / "huge.bin";
    writeFile(huge, {});
    std::error_code error;
    fs::resize_file(huge, std::uint64_t(1) << 32, error); // sparse: nothing is stored
    if (error)
        GTEST_SKIP() << "no sparse file here: " << error.message();
    const RfaRun run = pack({"bf1942/levels/Demo", "-o", archive()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "an archive must stay below 4 GiB; nothing written")) << run.err;
    EXPECT_FALSE(fs::exists(archive()));
}

TEST_F(PackTest, LeavesTheArchiveItWritesOutOfItsOwnSource)
{
    const std::string inside = (mod() / "mod.rfa").string();
    ASSERT_EQ(pack({".", "--as", "mod", "-o", inside}).exitCode, 0);
    const RfaRun again = pack({".", "--as", "mod", "-o", "mod.rfa"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    const RfaRun list = runRfa({"list", inside});
    EXPECT_FALSE(contains(list.out, "mod.rfa")) << list.out;
    EXPECT_TRUE(contains(list.out, "mod/bf1942/levels/Demo/B.bin\n")) << list.out;
}

} // namespace
} // namespace larkspan::test
