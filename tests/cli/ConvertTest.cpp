// Compressed archives from the command line: pack --compress and convert in
// both directions (also onto itself).

#include "CliFixtures.h"
#include "RfaRunner.h"

#include "base/ByteOrder.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"

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

} // namespace
} // namespace larkspan::test
