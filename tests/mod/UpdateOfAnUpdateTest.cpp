#include "mod/UpdateArchive.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using namespace fixtures;
using Entries = std::vector<std::pair<std::string, std::string>>;

// Edits made in a window opened on an update go to the family's next
// update: compared with that update as it is on disk, never undoing what a
// higher update holds, in the base's form (the origin's without a base).
TEST(UpdateOfAnUpdateTest, PlansTheFamilysNextUpdateFromTheOriginsEdits)
{
    struct Archive {
        std::string name;
        Entries entries;
        bool compressed = false;
    };
    struct Case {
        std::string name;
        std::vector<Archive> family; // the base, when there is one, first
        std::string origin;
        Entries edited;
        std::string target;
        // "path=content", M when it replaces, !UPDATE over the newer content of UPDATE
        std::vector<std::string> written;
        std::vector<std::string> deleted;
        bool compressed;
    };
    for (const Case& c : std::vector<Case>{
             {"a middle update: a higher one's content stays, a deletion is named",
              {{"objects.rfa", {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}}},
               {"objects_003.rfa", {{"bf1942/a.con", "a3"}, {"bf1942/b.con", "b3"}, {"bf1942/c.con", "c3"}}},
               {"objects_005.rfa", {{"bf1942/B.con", "b5"}}}},
              "objects_003.rfa", {{"bf1942/b.con", "b3"}, {"bf1942/C.con", "c9"}, {"bf1942/d.con", "d"}},
              "objects_006.rfa", {"M bf1942/C.con=c9", "bf1942/d.con=d"}, {"bf1942/a.con"}, false},
             {"no base: the update's spelling and form", {{"Objects_002.RFA", {{"bf1942/a.con", "a2"}}, true}},
              "Objects_002.RFA", {{"bf1942/a.con", "a9"}}, "Objects_003.RFA", {"M bf1942/a.con=a9"}, {}, true},
             {"the base's spelling and form; what the base alone holds is no deletion",
              {{"objects.rfa", {{"bf1942/a.con", "a0"}}, true}, {"Objects_001.rfa", {{"bf1942/b.con", "b1"}}}},
              "Objects_001.rfa", {{"bf1942/b.con", "b1"}, {"bf1942/e.con", "e"}}, "objects_002.rfa",
              {"bf1942/e.con=e"}, {}, true},
             {"an edit of the base's version of what an update changed since",
              {{"objects.rfa", {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}}},
               {"objects_001.rfa", {{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b0"}}}},
              "objects.rfa", {{"bf1942/a.con", "a9"}, {"bf1942/b.con", "b9"}}, "objects_002.rfa",
              {"M!objects_001.rfa bf1942/a.con=a9", "M bf1942/b.con=b9"}, {}, false},
         }) {
        SCOPED_TRACE(c.name);
        TemporaryFolder temp;
        for (const Archive& archive : c.family) {
            const Bytes bytes = plainArchive(archive.entries, archive.compressed ? 1 : 0);
            temp.write(archive.name, std::string(bytes.begin(), bytes.end()));
        }
        std::vector<ArchiveEntry> edited;
        for (const auto& [path, content] : c.edited)
            edited.push_back({path, textBytes(content)});

        const UpdateFamily family = findArchiveFamily(temp.path() / c.origin);
        const Result<std::filesystem::path> target = nextUpdatePath(family);
        ASSERT_TRUE(target);
        EXPECT_EQ(target->filename().string(), c.target);
        const Result<UpdatePlan> plan = planUpdate(family, temp.path() / c.origin, edited, *target);
        ASSERT_TRUE(plan) << describe(plan.error()).text;
        std::vector<std::string> written;
        for (const UpdatedEntry& updated : plan->entries)
            written.push_back(std::string(updated.replaces ? "M" : "") +
                              (updated.overNewer ? "!" + updated.overNewer->filename().string() : "") +
                              (updated.replaces ? " " : "") + updated.entry.path + "=" + text(updated.entry.content));
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(plan->deleted, c.deleted);
        EXPECT_EQ(plan->compressed, c.compressed);
    }
}

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
