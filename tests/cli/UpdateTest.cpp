#include "CliFixtures.h"
#include "RfaRunner.h"
#include "mod/ArchiveListing.h"

namespace larkspan::test {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Bytes archive(const Entries& entries, bool compressed)
{
    std::vector<StoredEntry> stored;
    for (const auto& [name, content] : entries)
        stored.push_back(compressed ? compressedEntry(name, bytesOf(content)) : rawEntry(name, bytesOf(content)));
    return archiveOf(stored, compressed ? 1 : 0);
}

// "path=content" for each record, and whether the archive is compressed.
std::pair<std::vector<std::string>, bool> contentsOf(const std::filesystem::path& path)
{
    Result<ArchiveListing> listing = ArchiveListing::open(path);
    if (!listing)
        return {{"<unreadable>"}, false};
    std::vector<std::string> held;
    for (const RecordFields& record : listing->records())
        held.push_back(record.name + "=" + fixtures::text(listing->content(record).value_or(nullptr)));
    return {held, listing->header().compressionFlag != 0};
}

TEST(UpdateTest, WritesWhatIsNewOrChangedAgainstTheBaseAndItsUpdates)
{
    struct Case {
        std::string name;
        bool compressedBase;
        std::map<std::string, Entries> updates;
        Entries edited;
        std::vector<std::string> options; // "@" stands for the folder
        int exitCode;
        std::string written; // empty: nothing new
        std::vector<std::string> holds;
        std::string said;
    };
    const Entries base{{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}, {"bf1942/c.con", "c0"}};
    for (const Case& c : std::vector<Case>{
             {"stored base, first update, a deletion",
              false, {}, {{"bf1942/A.con", "a0"}, {"bf1942/b.con", "b1"}, {"bf1942/d.con", "d"}}, {}, 1,
              "objects_001.rfa", {"bf1942/b.con=b1", "bf1942/d.con=d"}, "cannot remove it:\n  bf1942/c.con\n"},
             {"compressed base, above _001 and _003",
              true, {{"objects_001.rfa", {{"bf1942/a.con", "a1"}}}, {"Objects_003.RFA", {{"bf1942/b.con", "b3"}}}},
              {{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b0"}, {"bf1942/c.con", "c5"}, {"bf1942/d.con", "d"}}, {}, 0,
              "objects_004.rfa", {"bf1942/c.con=c5", "bf1942/d.con=d"}, "M bf1942/c.con\nA bf1942/d.con\n"},
             {"only the base's paths count as deleted", false, {{"objects_001.rfa", {{"bf1942/e.con", "e1"}}}},
              {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}, {"bf1942/c.con", "c0"}}, {}, 0, "", {},
              "nothing new or changed"},
             {"nothing changed", false, {{"objects_002.rfa", {{"bf1942/a.con", "a2"}}}},
              {{"bf1942/a.con", "a2"}, {"bf1942/b.con", "b0"}, {"bf1942/c.con", "c0"}}, {}, 0, "", {},
              "nothing new or changed"},
             {"the highest update named is replaced", false,
              {{"objects_001.rfa", {{"bf1942/a.con", "a1"}}}, {"objects_003.rfa", {{"bf1942/b.con", "b3"}}}},
              {{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b3"}, {"bf1942/c.con", "c0"}},
              {"-o", "@/objects_003.rfa"}, 0, "objects_003.rfa", {"bf1942/b.con=b3"}, "1 entry"},
             {"an edit over a later update's change is named", false, {{"objects_001.rfa", {{"bf1942/b.con", "b1"}}}},
              {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b9"}, {"bf1942/c.con", "c0"}}, {}, 0, "objects_002.rfa",
              {"bf1942/b.con=b9"}, "over that change:\n  bf1942/b.con (objects_001.rfa)\n"},
             {"a lower update named is refused", false,
              {{"objects_001.rfa", {{"bf1942/a.con", "a1"}}}, {"objects_003.rfa", {{"bf1942/b.con", "b3"}}}},
              {{"bf1942/d.con", "d"}}, {"-o", "@/objects_001.rfa"}, 2, "", {}, "higher update"},
             {"an update as the base is refused", false, {{"objects_001.rfa", {{"bf1942/a.con", "a1"}}}},
              {{"bf1942/d.con", "d"}}, {"@/objects_001.rfa"}, 2, "", {}, "name the archive it updates"},
         }) {
        SCOPED_TRACE(c.name);
        TemporaryFolder temp;
        const std::filesystem::path folder = temp.path() / "Archives";
        writeFile(folder / "objects.rfa", archive(base, c.compressedBase));
        for (const auto& [name, entries] : c.updates)
            writeFile(folder / name, archive(entries, false));
        writeFile(temp.path() / "edited.rfa", archive(c.edited, false));
        const std::vector<std::string> before = filesBelow(folder);

        std::vector<std::string> arguments{"update"};
        for (std::string option : c.options)
            arguments.push_back(option.starts_with('@') ? folder.string() + option.substr(1) : option);
        if (c.options.empty() || c.options.front() == "-o")
            arguments.push_back((folder / "objects.rfa").string());
        arguments.push_back((temp.path() / "edited.rfa").string());
        const RfaRun run = runRfa(arguments);

        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(contains(run.out + run.err, c.said)) << run.out << run.err;
        std::vector<std::string> expectedFiles = before;
        if (!c.written.empty() && std::find(before.begin(), before.end(), c.written) == before.end())
            expectedFiles.push_back(c.written);
        std::sort(expectedFiles.begin(), expectedFiles.end());
        EXPECT_EQ(filesBelow(folder), expectedFiles);
        if (!c.written.empty()) {
            EXPECT_EQ(contentsOf(folder / c.written), std::make_pair(c.holds, c.compressedBase));
        }
    }
}

} // namespace
} // namespace larkspan::test
