#include "CliFixtures.h"
#include "RfaRunner.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace larkspan::test {
namespace {

namespace fs = std::filesystem;

class ExtractTest : public CliTest {
protected:
    // The destination lies two folders down, so that a climb of one or two
    // levels would still land inside the temporary folder and be seen.
    fs::path destination() const { return temp / "out/inner"; }

    RfaRun extract(const std::vector<StoredEntry>& entries, std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{"extract", putArchive(archiveOf(entries, 1)), "-C",
                                           destination().string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runRfa(arguments);
    }
};

// A file whose name is a folder on the way to another entry: whichever comes
// first is written, the other reported; --force never swaps kinds.
TEST_F(ExtractTest, ReportsTheEntryThatMeetsTheOtherKind)
{
    const struct {
        std::vector<std::string> order;
        std::string written;
        std::string refused;
        std::string reason;
    } cases[] = {
        {{"bf1942/a", "bf1942/a/b.con"}, "bf1942/a", "bf1942/a/b.con",
         "not written: cannot make folder $DEST/bf1942/a: a file is in the way"},
        {{"bf1942/a/b.con", "bf1942/a"}, "bf1942/a/b.con", "bf1942/a", "not written: a folder is in the way"},
    };
    for (const auto& c : cases) {
        for (const bool force : {false, true}) {
            SCOPED_TRACE(c.refused + (force ? " forced" : ""));
            fs::remove_all(destination());
            std::vector<StoredEntry> entries;
            for (const std::string& name : c.order)
                entries.push_back(rawEntry(name, bytesOf(name)));
            const RfaRun run = extract(entries, force ? std::vector<std::string>{"--force"} : std::vector<std::string>{});
            EXPECT_EQ(run.exitCode, 1);
            std::string reason = c.reason;
            if (const std::size_t at = reason.find("$DEST"); at != std::string::npos)
                reason.replace(at, 5, destination().string());
            // Windows joins the folders of the path it names with a backslash.
            std::string err = run.err;
            std::replace(err.begin(), err.end(), '\\', '/');
            EXPECT_TRUE(contains(err, c.refused + ": " + reason)) << run.err;
            EXPECT_EQ(textOf(readFile(destination() / c.written)), c.written);
            EXPECT_EQ(filesBelow(destination()), std::vector<std::string>{c.written});
        }
    }
}

// A link below the chosen folder could lead anywhere: the entry is refused,
// with the link named, and the rest written. (A chosen folder that is itself
// a link is followed: the folder writer's own test.)
TEST_F(ExtractTest, NeverWritesThroughASymbolicLink)
{
    fs::create_directories(destination());
    fs::create_directories(temp / "elsewhere");
    fs::create_directory_symlink(temp / "elsewhere", destination() / "bf1942");
    const RfaRun run = extract({rawEntry("bf1942/a.con", bytesOf("a")), rawEntry("other/b.con", bytesOf("b"))},
                               {"--force"});
    EXPECT_EQ(run.exitCode, 1);
    // The separator before the link's own name is the system's.
    EXPECT_TRUE(contains(run.err, "bf1942/a.con: not written: " + destination().string())) << run.err;
    EXPECT_TRUE(contains(run.err, "bf1942 is a symbolic link")) << run.err;
    EXPECT_TRUE(fs::is_empty(temp / "elsewhere"));
    EXPECT_EQ(textOf(readFile(destination() / "other/b.con")), "b");
}

// What is kept without --force, and the messages, are the order test's.
TEST_F(ExtractTest, ForceReplacesExistingFilesAndEarlierEntriesOfTheSamePath)
{
    writeFile(destination() / "bf1942/a.txt", bytesOf("old"));
    const std::vector<StoredEntry> entries{rawEntry("bf1942/a.txt", bytesOf("new")),
                                            rawEntry("bf1942/d.txt", bytesOf("first")),
                                            rawEntry("bf1942/d.txt", bytesOf("second"))};
    EXPECT_EQ(extract(entries).exitCode, 0) << "keeping a file is no failure";
    EXPECT_EQ(textOf(readFile(destination() / "bf1942/a.txt")), "old");
    const RfaRun forced = extract(entries, {"--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(forced.err, "");
    EXPECT_EQ(textOf(readFile(destination() / "bf1942/a.txt")), "new");
    EXPECT_EQ(textOf(readFile(destination() / "bf1942/d.txt")), "second");
}

TEST_F(ExtractTest, WritesTheEntriesAtOrUnderThePaths)
{
    const struct {
        std::vector<std::string> paths;
        int exitCode;
        std::vector<std::string> written;
    } cases[] = {
        {{"bf1942/levels/A"}, 0, {"bf1942/levels/A/Init.con", "bf1942/levels/A/Init/Terrain.con"}},
        {{"bf1942/levels/A/"}, 0, {"bf1942/levels/A/Init.con", "bf1942/levels/A/Init/Terrain.con"}},
        {{"bf1942/objects/tank.con", "bf1942/levels/AB"}, 0, {"bf1942/levels/AB/Init.con", "bf1942/objects/tank.con"}},
        {{"bf1942/lev"}, 1, {}},
        {{"bf1942/objects/tank.con", "bf1942/nothing"}, 1, {"bf1942/objects/tank.con"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.paths));
        fs::remove_all(temp / "out");
        const RfaRun run = extract({rawEntry("bf1942/levels/A/Init.con", bytesOf("a")),
                                    rawEntry("bf1942/levels/A/Init/Terrain.con", bytesOf("t")),
                                    rawEntry("bf1942/levels/AB/Init.con", bytesOf("ab")),
                                    rawEntry("bf1942/objects/tank.con", bytesOf("tank"))},
                                   c.paths);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(fs::exists(destination()) ? filesBelow(destination()) : std::vector<std::string>{}, c.written);
    }
}

// Entries are written several at a time; what is reported, and what a
// clash between two entries leaves, must still follow the archive's order.
// A damaged entry is reported and nothing written for it; a name the path
// rule refuses is reported, shown safely, and written nowhere (which names
// break which rule is the rule's own test).
// Many plain entries around the special ones keep the workers far ahead of
// the messages.
TEST_F(CliTest, ExtractionReportsInTheArchivesOrder)
{
    struct Special {
        std::string name;
        std::string message; // how the entry's line goes on after its name
        std::string shown = {}; // the name in the message; the name itself when empty
    };
    const std::map<int, Special> specials{
        {7, {"../evil", "skipped: the name has a \"..\" component"}},
        {60, {"../\x1B[2J", "skipped: the name has a \"..\" component", "../\\x1B[2J"}},
        {100, {"", "skipped: the name is empty"}},
        {150, {"bf1942/kept.con", "kept the existing file"}},
        {200, {"bf1942/broken.con", "the entry is damaged: its compressed data cannot be unpacked"}},
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
        if (name == "bf1942/broken.con") // its segment decodes to 3 bytes, not 7
            entries.back() = {name, segmentedEntry({{literalStream(bytesOf("abc")), 7}}), 7};
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
        const std::string shown = special.shown.empty() ? special.name : special.shown;
        EXPECT_EQ(line.rfind("rfa: " + archive + ": " + shown + ": " + special.message, 0), 0u) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    EXPECT_EQ(textOf(readFile(out / "bf1942/kept.con")), "old");
    EXPECT_EQ(textOf(readFile(out / "bf1942/d.txt")), "300");
    EXPECT_EQ(textOf(readFile(out / "bf1942/x")), "301");
    for (int i : {0, 8, 299, 598})
        EXPECT_EQ(textOf(readFile(out / ("bf1942/f" + std::to_string(i)))), std::to_string(i));
    // Nothing climbed out of the chosen folder: beside the archive, 7 entries wrote nothing.
    const std::vector<std::string> written = filesBelow(temp.path());
    EXPECT_EQ(written.size(), 1u + 600u - 7u);
    EXPECT_EQ(written.back(), "test.rfa");
}

} // namespace
} // namespace larkspan::test
