// Compressed archives from the command line: pack --compress, convert in
// both directions (also onto itself), and the form and ratio info and
// list -l show.

#include "CliFixtures.h"
#include "RfaRunner.h"

#include "base/ByteOrder.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"

#include <regex>

namespace larkspan::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, Bytes>> entriesOf(const fs::path& path)
{
    const auto archive = RFAArchive::initWithData(readFile(path)).value_or(nullptr);
    std::vector<std::pair<std::string, Bytes>> entries;
    if (!archive)
        return entries;
    RFATreeEnumerator leaves = archive->root()->leafEnumerator();
    while (const RFATreeNode::Ptr leaf = leaves.nextObject())
        entries.emplace_back(leaf->fullPath(), *leaf->data());
    return entries;
}

class ConvertTest : public CliTest {
protected:
    void SetUp() override
    {
        writeFile(temp / "src/a.con", Bytes(40000, 'a'));
        writeFile(temp / "src/sub/empty.con", {});
        writeFile(temp / "src/sub/text.con", bytesOf("run Init/Terrain\r\nrun Init/Terrain\r\n"));
    }
    std::string path(const char* name) const { return (temp / name).string(); }
};

TEST_F(ConvertTest, ConvertsBothWaysAndOntoItselfButNeverOntoAReadOnlyFile)
{
    ASSERT_EQ(runRfa({"pack", path("src"), "--as", "src", "-o", path("plain.rfa")}).exitCode, 0);
    const auto entries = entriesOf(path("plain.rfa"));
    ASSERT_EQ(entries.size(), 3u);
    const std::pair<std::vector<std::string>, std::uint32_t> steps[] = {
        {{"pack", path("src"), "--as", "src", "--compress", "-o", path("packed.rfa")}, 1},
        {{"convert", path("plain.rfa"), "--compress=fast", "-o", path("out.rfa")}, 1},
        {{"convert", path("out.rfa"), "--no-compress", "-o", path("out.rfa")}, 0},
        {{"convert", path("out.rfa"), "--compress", "-o", path("out.rfa")}, 1},
    };
    for (const auto& [arguments, flag] : steps) {
        const RfaRun run = runRfa(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments[2] << run.err;
        EXPECT_EQ(littleIntAtPosition(readFile(arguments.back()), 4), flag) << arguments[2];
        EXPECT_EQ(entriesOf(arguments.back()), entries) << arguments[2];
    }
    EXPECT_EQ(readFile(path("packed.rfa")), readFile(path("out.rfa"))) << "the same entries, the same bytes";
    EXPECT_EQ(filesBelow(temp.path()).size(), 6u) << "no temporary file left";

    fs::permissions(path("out.rfa"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const RfaRun readOnly = runRfa({"convert", path("plain.rfa"), "--compress", "-o", path("out.rfa")});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_EQ(readOnly.err, "rfa: " + path("out.rfa") + ": the file is read-only; nothing written\n");
    EXPECT_EQ(readFile(path("out.rfa")), readFile(path("packed.rfa")));
    EXPECT_EQ(runRfa({"convert", path("plain.rfa"), "-o", path("other.rfa")}).exitCode, 2) << "no form given";
}

TEST_F(ConvertTest, InfoAndLongListShowTheFormAndTheRatio)
{
    ASSERT_EQ(runRfa({"pack", path("src"), "--as", "src", "--compress", "-o", path("packed.rfa")}).exitCode, 0);
    ASSERT_EQ(runRfa({"pack", path("src"), "--as", "src", "-o", path("plain.rfa")}).exitCode, 0);
    const auto infoForm = [&](const char* name) {
        const std::string out = runRfa({"info", path(name)}).out;
        std::smatch match;
        return std::regex_search(out, match, std::regex("Form: +(.*)\n")) ? match[1].str() : out;
    };
    EXPECT_TRUE(std::regex_match(infoForm("packed.rfa"), std::regex(R"(compressed, stored/size 0\.0\d\d)")))
        << infoForm("packed.rfa");
    EXPECT_EQ(infoForm("plain.rfa"), "uncompressed, stored/size 1.000");

    const RfaRun list = runRfa({"list", "-l", path("packed.rfa")});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    const std::regex expected(R"(\s*40 KB\s+\d+ Bytes\s+0\.00\d\s+compressed\s+src/a\.con\n)"
                              R"(\s*0 Bytes\s+20 Bytes\s+-\s+compressed\s+src/sub/empty\.con\n)"
                              R"(\s*36 Bytes\s+\d+ Bytes\s+1\.\d+\s+compressed\s+src/sub/text\.con\n)"
                              R"(\s*40 KB\s+\d+ Bytes\s+0\.0\d\d\s+compressed\s+\(3 entries in all\)\n)");
    EXPECT_TRUE(std::regex_match(list.out, expected)) << list.out;
}

} // namespace
} // namespace larkspan::test
