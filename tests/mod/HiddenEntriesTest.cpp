#include "mod/UpdateArchive.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using namespace fixtures;
using Entries = std::vector<std::pair<std::string, std::string>>;

// What a window shows of an archive of a family that the game reads from a
// later update instead: only entries an update above the window's file
// holds with other bytes, each with that update and whether the window
// changed it from the file on disk.
TEST(HiddenEntriesTest, NamesTheEntriesALaterUpdateReplaces)
{
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, Entries>> family;
        std::string origin;
        Entries window;
        std::vector<std::string> hidden; // "path update", "*" when changed here
    };
    const Entries base{{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}, {"bf1942/d.con", "d0"}};
    for (const Case& c : std::vector<Case>{
             {"no update: nothing to ask", {{"objects.rfa", base}}, "objects.rfa", {{"bf1942/a.con", "a9"}}, {}},
             {"the base under two updates",
              {{"objects.rfa", base},
               {"objects_001.rfa", {{"bf1942/a.con", "a1"}, {"bf1942/d.con", "d9"}}},
               {"Objects_003.RFA", {{"bf1942/B.con", "b3"}}}},
              "objects.rfa",
              // d.con as the update has it, a new c.con no update holds, and
              // a second a.con the game does not read.
              {{"bf1942/a.con", "a9"}, {"bf1942/b.con", "b0"}, {"bf1942/c.con", "c"}, {"bf1942/d.con", "d9"},
               {"bf1942/A.con", "a8"}},
              {"bf1942/a.con objects_001.rfa *", "bf1942/b.con Objects_003.RFA"}},
             {"a middle update: the base below does not count, a new entry is a change",
              {{"objects.rfa", base},
               {"objects_001.rfa", {{"bf1942/a.con", "a1"}}},
               {"objects_002.rfa", {{"bf1942/a.con", "a2"}, {"bf1942/e.con", "e2"}}}},
              "objects_001.rfa", {{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b9"}, {"bf1942/e.con", "e9"}},
              {"bf1942/a.con objects_002.rfa", "bf1942/e.con objects_002.rfa *"}},
             {"the highest update: nothing above it",
              {{"objects.rfa", base}, {"objects_001.rfa", {{"bf1942/a.con", "a1"}}}}, "objects_001.rfa",
              {{"bf1942/a.con", "a9"}}, {}},
         }) {
        SCOPED_TRACE(c.name);
        TemporaryFolder temp;
        for (const auto& [name, entries] : c.family) {
            const Bytes bytes = plainArchive(entries);
            temp.write(name, std::string(bytes.begin(), bytes.end()));
        }
        const Bytes shown = plainArchive(c.window);
        const Result<std::unique_ptr<RFAArchive>> window = RFAArchive::initWithData(shown);
        ASSERT_TRUE(window);

        const Result<std::vector<HiddenEntry>> hidden =
            findHiddenEntries(findArchiveFamily(temp / c.origin), temp / c.origin, **window);
        ASSERT_TRUE(hidden) << describe(hidden.error()).text;
        std::vector<std::string> found;
        for (const HiddenEntry& entry : *hidden)
            found.push_back(entry.path + " " + entry.update.filename().string() + (entry.changedHere ? " *" : ""));
        EXPECT_EQ(found, c.hidden);
    }
}

} // namespace
} // namespace larkspan
