#include "mod/UpdateArchive.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using namespace fixtures;
using Entries = std::vector<std::pair<std::string, std::string>>;

// A window on objects_001 whose entries the game reads from Objects_003
// instead: only those that update holds with other bytes, the first of a
// path, each with whether the window changed it from the file on disk. The
// base below counts for nothing, nor does anything under the highest update.
TEST(HiddenEntriesTest, NamesTheEntriesAnUpdateAboveReplaces)
{
    TemporaryFolder temp;
    for (const auto& [name, entries] : std::vector<std::pair<std::string, Entries>>{
             {"objects.rfa", {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}}},
             {"objects_001.rfa",
              {{"bf1942/a.con", "a1"}, {"bf1942/c.con", "c1"}, {"bf1942/d.con", "d1"}, {"bf1942/f.con", "f1"}}},
             {"Objects_003.RFA", {{"bf1942/A.con", "a3"}, {"bf1942/c.con", "c3"}, {"bf1942/d.con", "d3"},
                                  {"bf1942/e.con", "e3"}}}}) {
        const Bytes bytes = plainArchive(entries);
        temp.write(name, std::string(bytes.begin(), bytes.end()));
    }
    // a as on disk, b over the base alone, c as the update has it, d and a
    // new e changed, f that no update holds, then a second d the game does
    // not read.
    const Result<std::unique_ptr<RFAArchive>> window = RFAArchive::initWithData(
        plainArchive({{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b9"}, {"bf1942/c.con", "c3"}, {"bf1942/d.con", "d9"},
                      {"bf1942/e.con", "e9"}, {"bf1942/f.con", "f9"}, {"bf1942/D.con", "d8"}}));
    ASSERT_TRUE(window);

    for (const auto& [origin, expected] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"objects_001.rfa",
              {"bf1942/a.con Objects_003.RFA", "bf1942/d.con Objects_003.RFA *", "bf1942/e.con Objects_003.RFA *"}},
             {"Objects_003.RFA", {}}}) {
        const Result<std::vector<HiddenEntry>> hidden =
            findHiddenEntries(findArchiveFamily(temp / origin), temp / origin, **window);
        ASSERT_TRUE(hidden) << describe(hidden.error()).text;
        std::vector<std::string> found;
        for (const HiddenEntry& entry : *hidden)
            found.push_back(entry.path + " " + entry.update.filename().string() + (entry.changedHere ? " *" : ""));
        EXPECT_EQ(found, expected) << origin;
    }
}

} // namespace
} // namespace larkspan
