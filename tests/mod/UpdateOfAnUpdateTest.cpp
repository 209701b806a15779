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

} // namespace
} // namespace larkspan
