#include "CliFixtures.h"
#include "RfaRunner.h"

#include <map>
#include <sstream>

namespace larkspan::test {
namespace {

namespace fs = std::filesystem;

// Entries are written several at a time; what is reported, and what a
// clash between two entries leaves, must still follow the archive's order.
// Many plain entries around the special ones keep the workers far ahead of
// the messages.
TEST_F(CliTest, ExtractionReportsInTheArchivesOrder)
{
    struct Special {
        std::string name;
        std::string message; // how the entry's line goes on after its name
    };
    const std::map<int, Special> specials{
        {7, {"../evil", "skipped: the name has a \"..\" component"}},
        {150, {"bf1942/kept.con", "kept the existing file"}},
        {300, {"bf1942/d.txt", ""}},
        {301, {"bf1942/x", ""}},
        {450, {"bf1942/d.txt", "kept the file an earlier entry of the same path wrote"}},
        {560, {"bf1942/x/y.con", "not written: cannot make folder"}},
        {599, {"/evil", "skipped: the name starts at the file-system root"}},
    };
    std::vector<StoredEntry> entries;
    for (int i = 0; i < 600; ++i) {
        const auto special = specials.find(i);
        const std::string name = special != specials.end() ? special->second.name : "bf1942/f" + std::to_string(i);
        entries.push_back(compressedEntry(name, bytesOf(std::to_string(i))));
    }
    const fs::path out = temp / "out";
    writeFile(out / "bf1942/kept.con", bytesOf("old"));
    const std::string archive = putArchive(archiveOf(entries, 1));
    const RfaRun run = runRfa({"extract", archive, "-C", out.string()});
    EXPECT_EQ(run.exitCode, 1);

    std::istringstream lines(run.err);
    std::string line;
    for (const auto& [index, special] : specials) {
        if (special.message.empty())
            continue;
        ASSERT_TRUE(std::getline(lines, line)) << "no line for entry " << index << " in\n" << run.err;
        EXPECT_EQ(line.rfind("rfa: " + archive + ": " + special.name + ": " + special.message, 0), 0u) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    EXPECT_EQ(textOf(readFile(out / "bf1942/kept.con")), "old");
    EXPECT_EQ(textOf(readFile(out / "bf1942/d.txt")), "300");
    EXPECT_EQ(textOf(readFile(out / "bf1942/x")), "301");
    for (int i : {0, 8, 299, 598})
        EXPECT_EQ(textOf(readFile(out / ("bf1942/f" + std::to_string(i)))), std::to_string(i));
    EXPECT_EQ(filesBelow(out).size(), 600u - 4u);
}

} // namespace
} // namespace larkspan::test
