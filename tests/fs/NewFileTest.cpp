#include "support/FailingDisk.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"
#include "fs/FolderWriter.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace larkspan {
namespace {

namespace fs = std::filesystem;

const Bytes kNew{'n', 'e', 'w'};

// A new file is written under its name at once: it never takes a name that
// is already held, and a failed write leaves no part of it behind.
TEST(NewFile, TakesOnlyAFreeNameAndLeavesNoPartOnFailure)
{
    enum class Before { Nothing, File, DanglingLink };
    struct Case {
        const char* what;
        Before before;
        std::optional<std::uint64_t> diskFullAfter;
        std::optional<ErrorCode> code;
        int systemError;
    };
    const Case cases[] = {
        {"free name", Before::Nothing, std::nullopt, std::nullopt, 0},
        {"a file took the name", Before::File, std::nullopt, ErrorCode::CannotOpen, EEXIST},
        {"a link took the name", Before::DanglingLink, std::nullopt, ErrorCode::CannotOpen, EEXIST},
        {"disk full midway", Before::Nothing, 2, ErrorCode::CannotWrite, ENOSPC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::TemporaryFolder temp;
        const fs::path target = temp / "a.con";
        if (c.before == Before::File)
            temp.write("a.con", "old");
        if (c.before == Before::DanglingLink)
            fs::create_symlink(temp / "elsewhere", target);
        fixtures::FailingDisk disk;
        disk.writeFailsAfter = c.diskFullAfter;

        const Result<void> written = writeNewFile(target, kNew, disk);
        if (!c.code) {
            ASSERT_TRUE(written);
            EXPECT_EQ(readWholeFile(target), kNew);
            continue;
        }
        ASSERT_FALSE(written);
        EXPECT_EQ(written.error(), (Error{*c.code, target.string(), c.systemError}));
        EXPECT_FALSE(fs::exists(temp / "elsewhere"));
        EXPECT_EQ(fs::exists(fs::symlink_status(target)), c.before != Before::Nothing);
        if (c.before == Before::File) {
            EXPECT_EQ(readWholeFile(target), (Bytes{'o', 'l', 'd'}));
        }
    }
}

// Only a write over an existing file goes through a temporary and counts
// as a replace (which a later flush must cover). A link or a file where a
// folder belongs stops the write; a folder still to be made holds nothing.
TEST(NewFile, FolderWriterReplacesOnlyWhatWasThereAndStopsAtWhatIsInTheWay)
{
    fixtures::TemporaryFolder temp;
    const FolderWriter writer(temp.path());
    const std::vector<std::string> name{"bf1942", "a.con"};
    const WriteResult first = writer.writeFile(name, kNew, true);
    const WriteResult second = writer.writeFile(name, Bytes{'2'}, true);
    ASSERT_EQ(first.status, WriteStatus::Written);
    ASSERT_EQ(second.status, WriteStatus::Written);
    EXPECT_FALSE(first.replaced);
    EXPECT_TRUE(second.replaced);
    EXPECT_EQ(readWholeFile(temp / "bf1942/a.con"), Bytes{'2'});
    EXPECT_EQ(std::distance(fs::directory_iterator(temp / "bf1942"), fs::directory_iterator()), 1);

    using Path = std::vector<std::string>;
    temp.write("file", "");
    fs::create_directory_symlink(temp / "bf1942", temp / "link");
    EXPECT_EQ(writer.writeFile(Path{"link", "a.con"}, kNew, true).error,
              (Error{ErrorCode::SymbolicLink, (temp / "link").string()}));
    EXPECT_EQ(writer.writeFile(Path{"file", "a.con"}, kNew, true).error,
              (Error{ErrorCode::FileInTheWay, (temp / "file").string()}));
    EXPECT_EQ(writer.probeFile(Path{"new", "a.con"}).status, WriteStatus::Free);
}

} // namespace
} // namespace larkspan
