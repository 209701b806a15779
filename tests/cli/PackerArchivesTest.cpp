// The read commands on the archives written like the game's packer, checked
// against what their generator recorded: every command must take each entry
// as compressed or raw the way the editor does, also where the stored size
// equals the size.

#include "CliFixtures.h"
#include "RfaRunner.h"
#include "support/PackerManifest.h"

#include <algorithm>

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

// list -l, info, cat, extract and verify each take every entry as the
// editor does; a raw entry that merely begins like a segment table is no
// failure either.
TEST_P(PackerArchiveTest, EveryCommandReadsEachEntryAsStored)
{
    const std::vector<ManifestEntry> expected = entries();
    const RfaRun list = runRfa({"list", "-l", archive()});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const std::vector<std::string> lines = linesOf(list.out);
    ASSERT_EQ(lines.size(), expected.size() + 1) << "and the totals\n" << list.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string form = expected[i].compressed ? "  compressed  " : "  raw         ";
        EXPECT_TRUE(lines[i].ends_with(form + expected[i].path)) << lines[i];
    }

    const auto compressed = std::count_if(expected.begin(), expected.end(),
                                          [](const ManifestEntry& entry) { return entry.compressed; });
    const RfaRun info = runRfa({"info", archive()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "Entries:            " + std::to_string(expected.size()) + " (" +
                                       std::to_string(compressed) + " compressed, " +
                                       std::to_string(expected.size() - compressed) + " raw)\n"))
        << info.out;

    const RfaRun extract = runRfa({"extract", archive(), "-C", (temp / "out").string()});
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    for (const ManifestEntry& entry : expected) {
        const RfaRun cat = runRfa({"cat", archive(), entry.path});
        EXPECT_EQ(cat.exitCode, 0) << entry.path << ": " << cat.err;
        for (const Bytes& content : {bytesOf(cat.out), readFile(temp / "out" / entry.path)}) {
            EXPECT_EQ(content.size(), entry.size) << entry.path;
            EXPECT_EQ(fixtures::fnv1a64(content), entry.hash) << entry.path;
        }
    }

    const RfaRun verify = runRfa({"verify", archive()});
    EXPECT_EQ(verify.exitCode, 0);
    EXPECT_EQ(verify.err, "");
    EXPECT_EQ(verify.out, archive() + ": " + std::to_string(expected.size()) + " entries, all readable\n");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PackerArchiveTest, testing::ValuesIn(packerArchiveNames()));

} // namespace
} // namespace larkspan::test
