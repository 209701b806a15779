// What a failed write leaves on disk: the target's name holds the
// previous file or the complete new one, never a part, and a write that
// fails cleans up after itself.

#include "model/RFAArchive.h"
#include "support/FailingDisk.h"
#include "support/TemporaryFolder.h"
#include "fs/FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace larkspan {
namespace {

namespace fs = std::filesystem;
using fixtures::FailingDisk;
using fixtures::TemporaryFolder;

const std::string kOld = "the previous, complete file";

Bytes pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

std::string contentOf(const fs::path& path)
{
    const Result<Bytes> bytes = readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FailingDisk failing(std::optional<std::uint64_t> writeFailsAfter, bool syncFails = false, bool renameFails = false)
{
    FailingDisk disk;
    disk.writeFailsAfter = writeFailsAfter;
    disk.syncFails = syncFails;
    disk.renameFails = renameFails;
    return disk;
}

TEST(CrashSafeWrite, InjectedFaultsKeepThePreviousFileAndLeaveNoTemporary)
{
    const Bytes next = pattern(200'000);
    const struct {
        std::string name;
        FailingDisk disk;
        ErrorCode failure;
        int systemError; // the system's complaint
    } cases[] = {
        {"DiskFullAtOnce", failing(0), ErrorCode::CannotWrite, ENOSPC},
        {"DiskFullMidway", failing(next.size() / 2), ErrorCode::CannotWrite, ENOSPC},
        {"DiskFullAtTheLastByte", failing(next.size() - 1), ErrorCode::CannotWrite, ENOSPC},
        {"SyncFails", failing(std::nullopt, true), ErrorCode::CannotWrite, EIO},
        {"RenameFails", failing(std::nullopt, false, true), ErrorCode::CannotReplace, EIO},
    };
    for (const auto& c : cases) {
        for (const bool existed : {true, false}) {
            SCOPED_TRACE(c.name + (existed ? " over a file" : " to a new name"));
            TemporaryFolder folder;
            const fs::path target = existed ? folder.write("saved.rfa", kOld) : folder.path() / "saved.rfa";
            FailingDisk disk = c.disk;
            const Result<void> written = writeFileAtomically(target, next, Durability::FlushEach, disk);
            ASSERT_FALSE(written);
            EXPECT_EQ(written.error(), (Error{c.failure, target.string(), c.systemError}));
            EXPECT_EQ(namesIn(folder.path()), existed ? std::vector<std::string>{"saved.rfa"} : std::vector<std::string>{});
            if (existed) {
                EXPECT_EQ(contentOf(target), kOld);
            }
        }
    }
}

TEST(CrashSafeWrite, ATemporaryThatCannotBeMadeTouchesNothing)
{
    TemporaryFolder folder;
    const fs::path inTheWay = folder.write("saved.rfa", kOld);
    const Result<void> written = writeFileAtomically(inTheWay / "inner.rfa", pattern(1000));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error(), (Error{ErrorCode::CannotOpen, (inTheWay / "inner.rfa").string(), ENOTDIR}));
    EXPECT_EQ(contentOf(inTheWay), kOld);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"saved.rfa"});
}

TEST(CrashSafeWrite, DeferredFlushLeavesTheFlushToTheFileSystemSync)
{
    // A failing flush fails only the writes that flush themselves, and the
    // one flush that follows deferred writes.
    TemporaryFolder folder;
    const fs::path target = folder.write("extracted.con", kOld);
    FailingDisk disk = failing(std::nullopt, true);
    const Result<void> flushed = writeFileAtomically(target, pattern(10), Durability::FlushEach, disk);
    ASSERT_FALSE(flushed);
    EXPECT_EQ(flushed.error().code, ErrorCode::CannotWrite);
    EXPECT_EQ(contentOf(target), kOld);
    EXPECT_TRUE(writeFileAtomically(target, pattern(10), Durability::FlushLater, disk));
    EXPECT_EQ(readWholeFile(target), pattern(10));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"extracted.con"}) << "no temporary left";
    EXPECT_FALSE(syncFileSystemOf(folder.path(), disk));
    EXPECT_TRUE(syncFileSystemOf(folder.path()));
    EXPECT_FALSE(syncFileSystemOf(folder.path() / "gone"));
}

TEST(CrashSafeWrite, AbandonedOrThrowingProducerLeavesThePreviousFile)
{
    TemporaryFolder folder;
    const fs::path target = folder.write("saved.rfa", kOld);
    const Bytes half = pattern(5000);
    const Result<void> abandoned = writeFileAtomically(target, [&](const ByteSink& sink) {
        sink(half);
        return false;
    });
    ASSERT_FALSE(abandoned);
    EXPECT_EQ(abandoned.error().code, ErrorCode::Cancelled);
    EXPECT_THROW(writeFileAtomically(target,
                                     [&](const ByteSink& sink) -> bool {
                                         sink(half);
                                         throw std::runtime_error("producer failed");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(contentOf(target), kOld);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"saved.rfa"});

    // The temporary's name must fit beside a target whose name is as long as names get.
    const std::string longest = std::string(251, 'n') + ".rfa";
    EXPECT_TRUE(writeFileAtomically(folder.path() / longest, pattern(100)));
    EXPECT_EQ(readWholeFile(folder.path() / longest), pattern(100));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{longest, "saved.rfa"}));
}

// The new file takes the place of the old one with the old one's
// permissions, not those a new file would get.
TEST(CrashSafeWrite, AReplacedFileKeepsItsPermissions)
{
    TemporaryFolder folder;
    const fs::path target = folder.write("saved.rfa", kOld);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const fs::perms before = fs::status(target).permissions();
    ASSERT_TRUE(writeFileAtomically(target, pattern(10)));
    EXPECT_EQ(fs::status(target).permissions(), before);
}

// --- The document's save path: the archive writer streaming into the file.

std::unique_ptr<RFAArchive> sampleArchive()
{
    auto archive = std::make_unique<RFAArchive>();
    const RFATreeNode::Ptr root = archive->root();
    root->addFileWithData(makeSharedBytes(pattern(70'000)), "objects/tank.con");
    root->addFileWithData(makeSharedBytes(Bytes{}), "objects/empty.con");
    root->addFileWithData(makeSharedBytes(pattern(30'000)), "textures/sky.dds");
    return archive;
}

Result<void> save(const RFAArchive& archive, const fs::path& target, DiskCalls& disk)
{
    return writeFileAtomically(
        target, [&](const ByteSink& sink) { return archive.writeFileData(sink); }, Durability::FlushEach, disk);
}

TEST(CrashSafeWrite, ArchiveSaveFailingAtAnyByteKeepsThePreviousArchive)
{
    TemporaryFolder folder;
    const fs::path target = folder.path() / "objects.rfa";
    const Bytes previous = *RFAArchive().completeFileData();
    ASSERT_TRUE(writeFileAtomically(target, previous));
    const std::unique_ptr<RFAArchive> archive = sampleArchive();
    const std::size_t size = archive->completeFileData()->size();
    for (std::size_t limit = 0; limit < size; limit += limit < 200 ? 1 : 997) {
        SCOPED_TRACE(limit);
        FailingDisk disk = failing(limit);
        const Result<void> saved = save(*archive, target, disk);
        ASSERT_FALSE(saved);
        ASSERT_EQ(saved.error().code, ErrorCode::CannotWrite);
        ASSERT_EQ(readWholeFile(target), previous);
        ASSERT_EQ(namesIn(folder.path()), std::vector<std::string>{"objects.rfa"});
    }
    ASSERT_TRUE(save(*archive, target, realDisk()));
    EXPECT_EQ(readWholeFile(target), archive->completeFileData());
}

} // namespace
} // namespace larkspan
