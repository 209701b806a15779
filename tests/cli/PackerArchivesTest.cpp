// The read commands on the archives written like the game's packer, checked
// against what their generator recorded: every command must take each entry
// as compressed or raw the way the editor does, also where the stored size
// equals the size.

#include "CliFixtures.h"
#include "RfaRunner.h"
#include "support/PackerManifest.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <sstream>

namespace larkspan::test {
namespace {

using fixtures::ManifestEntry;

std::vector<std::string> packerArchiveNames()
{
    std::vector<std::string> names;
    for (const ManifestEntry& entry : fixtures::packerManifest())
        if (std::find(names.begin(), names.end(), entry.archive) == names.end())
            names.push_back(entry.archive);
    return names;
}

class PackerArchiveTest : public CliTest, public testing::WithParamInterface<std::string> {
protected:
    std::string archive() const { return fixtures::packerArchiveFolder() + GetParam(); }

    // The archive's entries in record order.
    std::vector<ManifestEntry> entries() const
    {
        std::vector<ManifestEntry> found;
        for (const ManifestEntry& entry : fixtures::packerManifest())
            if (entry.archive == GetParam())
                found.push_back(entry);
        return found;
    }
};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const char* storageWord(const ManifestEntry& entry)
{
    return entry.compressed ? "compressed" : "raw";
}

TEST_P(PackerArchiveTest, ListShowsHowEachEntryIsStored)
{
    const RfaRun run = runRfa({"list", "-l", archive()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    const std::vector<ManifestEntry> expected = entries();
    ASSERT_EQ(lines.size(), expected.size() + 1) << "and the totals\n" << run.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        char tail[300];
        std::snprintf(tail, sizeof tail, "  %-10s  %s", storageWord(expected[i]), expected[i].path.c_str());
        EXPECT_TRUE(lines[i].ends_with(tail)) << lines[i];
    }
}

TEST_P(PackerArchiveTest, InfoCountsCompressedAndRawEntries)
{
    const std::vector<ManifestEntry> expected = entries();
    const auto compressed = std::count_if(expected.begin(), expected.end(),
                                          [](const ManifestEntry& entry) { return entry.compressed; });
    const RfaRun run = runRfa({"info", archive()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string line = "Entries:            " + std::to_string(expected.size()) + " (" +
                             std::to_string(compressed) + " compressed, " +
                             std::to_string(expected.size() - compressed) + " raw)\n";
    EXPECT_TRUE(contains(run.out, line)) << run.out;
}

TEST_P(PackerArchiveTest, CatWritesEachEntrysContent)
{
    for (const ManifestEntry& entry : entries()) {
        const RfaRun run = runRfa({"cat", archive(), entry.path});
        EXPECT_EQ(run.exitCode, 0) << entry.path << ": " << run.err;
        EXPECT_EQ(run.out.size(), entry.size) << entry.path;
        EXPECT_EQ(fixtures::fnv1a64(bytesOf(run.out)), entry.hash) << entry.path;
    }
}

TEST_P(PackerArchiveTest, ExtractWritesEachEntrysContent)
{
    const RfaRun run = runRfa({"extract", archive(), "-C", (temp / "out").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const ManifestEntry& entry : entries()) {
        const Bytes written = readFile(temp / "out" / entry.path);
        EXPECT_EQ(written.size(), entry.size) << entry.path;
        EXPECT_EQ(fixtures::fnv1a64(written), entry.hash) << entry.path;
    }
}

// A raw entry that merely begins like a segment table is no failure either.
TEST_P(PackerArchiveTest, VerifyFindsEveryEntryReadable)
{
    const RfaRun run = runRfa({"verify", archive()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, archive() + ": " + std::to_string(entries().size()) + " entries, all readable\n");
}

// "packer_sizes_equal.rfa" → "PackerSizesEqual".
std::string testName(const testing::TestParamInfo<std::string>& info)
{
    std::string name;
    bool startOfWord = true;
    for (const char c : info.param.substr(0, info.param.find('.'))) {
        if (c == '_')
            startOfWord = true;
        else
            name += startOfWord ? char(std::toupper(static_cast<unsigned char>(c))) : c;
        startOfWord = c == '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PackerArchiveTest, testing::ValuesIn(packerArchiveNames()), testName);

} // namespace
} // namespace larkspan::test
