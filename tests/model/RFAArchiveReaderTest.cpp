#include "format/ArchiveDirectory.h"
#include "model/RFAArchive.h"
#include "format/EntryPath.h"
#include "support/ArchiveBytes.h"
#include "support/PackerManifest.h"
#include "fs/FileIO.h"
#include "model/RFATreeEnumerator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

namespace larkspan {
namespace {

using fixtures::appendRecord;
using fixtures::appendText;
using fixtures::plainArchive;
using fixtures::RawRecord;
using fixtures::text;

// path → content of every file, in writer order.
std::vector<std::pair<std::string, std::string>> entries(const RFAArchive& archive)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const RFATreeNode::Ptr& top : archive.rootNodes()) {
        if (top->isLeaf()) {
            out.emplace_back(top->fullPath(), text(top->data()));
            continue;
        }
        RFATreeEnumerator leaves = top->leafEnumerator();
        while (RFATreeNode::Ptr leaf = leaves.nextObject())
            out.emplace_back(leaf->fullPath(), text(leaf->data()));
    }
    return out;
}

std::optional<ErrorCode> failureReading(const Bytes& file)
{
    const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(file);
    return read ? std::nullopt : std::optional<ErrorCode>(read.error().code);
}

TEST(RFAArchiveReader, FilesWithoutEntries)
{
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes dirAtEnd = {8, 0, 0, 0, 0, 0, 0, 0};
    for (const Case& c : {Case{"empty file", {}}, Case{"directory offset at the end", dirAtEnd},
                          Case{"zero entries", plainArchive({})}}) {
        const auto archive = RFAArchive::initWithData(c.file).value_or(nullptr);
        ASSERT_TRUE(archive) << c.what;
        EXPECT_TRUE(archive->rootNodes().empty()) << c.what;
        EXPECT_FALSE(archive->root()) << c.what;
    }
}

TEST(RFAArchiveReader, OutOfBoundsCases)
{
    const Bytes good = plainArchive({{"bf1942/a.con", "abc"}});
    std::vector<std::pair<const char*, Bytes>> cases;

    Bytes dirPastEnd = good;
    replaceBytesInRange(dirPastEnd, 0, static_cast<std::uint32_t>(good.size() + 1));
    cases.emplace_back("directory offset past the end", dirPastEnd);

    Bytes nearMiss;
    appendText(nearMiss, "Refractor2 FlatArchive 1.1");
    nearMiss.insert(nearMiss.end(), {0, 0, 28, 0, 0, 0, 0, 0, 0, 0});
    cases.emplace_back("identification string with two zero bytes is the plain layout", nearMiss);

    const fixtures::FirstRecord at = fixtures::firstRecordOf(good, 12);
    Bytes countTooLarge = good;
    countTooLarge[at.countAt] = 2;
    cases.emplace_back("entry count beyond the records", countTooLarge);

    Bytes truncatedTrailer = good;
    truncatedTrailer.resize(good.size() - 1);
    cases.emplace_back("last trailer cut short", truncatedTrailer);

    Bytes nameTooLong = good;
    nameTooLong[at.nameLengthAt + 2] = 0xFF;
    cases.emplace_back("name length beyond the file", nameTooLong);

    for (const auto& [what, file] : cases)
        EXPECT_EQ(failureReading(file), ErrorCode::OutOfBounds) << what;
}

TEST(RFAArchiveReader, DataRangeMustLieInsideTheFile)
{
    // Data at the very end of the file: directory first, then the data.
    const auto fileWithData = [](std::uint32_t storedSize, std::uint32_t offsetShift) {
        Bytes file;
        appendLittleInt(file, 8);
        appendLittleInt(file, 0);
        appendLittleInt(file, 1);
        const std::size_t dataOffset = 8 + 4 + 28 + 8;
        appendRecord(file, {"bf1942/x", storedSize, storedSize, static_cast<std::uint32_t>(dataOffset + offsetShift)});
        appendText(file, "12345");
        return file;
    };
    EXPECT_EQ(failureReading(fileWithData(5, 0)), std::nullopt) << "ends exactly at the end";
    EXPECT_EQ(failureReading(fileWithData(6, 0)), ErrorCode::OutOfBounds) << "one byte further";
    EXPECT_EQ(failureReading(fileWithData(5, 1)), ErrorCode::OutOfBounds);
    EXPECT_EQ(failureReading(fileWithData(0xFFFFFFFF, 0)), ErrorCode::OutOfBounds) << "wraps 32 bits";
    EXPECT_EQ(failureReading(fileWithData(0, 0xFFFFFF00)), ErrorCode::OutOfBounds);
}

TEST(RFAArchiveReader, BothLayoutsAndTheRecordFields)
{
    Bytes identified;
    appendText(identified, "Refractor2 FlatArchive 1.1  ");
    appendLittleInt(identified, 0);
    appendLittleInt(identified, 1);
    appendText(identified, "rawdata");
    replaceBytesInRange(identified, 28, static_cast<std::uint32_t>(identified.size()));
    appendLittleInt(identified, 2);
    // Compressed flag, but stored size = size: taken as it stands.
    appendRecord(identified, {"bf1942/raw.con", 3, 3, 36});
    // A zero byte cuts the name; the record still spans its whole length.
    appendRecord(identified, {std::string("bf1942/cut.con\0junk", 19), 4, 4, 39});
    const auto archive = RFAArchive::initWithData(identified).value_or(nullptr);
    ASSERT_TRUE(archive);
    EXPECT_EQ(entries(*archive), (std::vector<std::pair<std::string, std::string>>{
                                     {"bf1942/raw.con", "raw"}, {"bf1942/cut.con", "data"}}));

    // Flag 0: stored bytes as they stand, even where the sizes differ.
    Bytes plain = plainArchive({{"bf1942/a", "abcd"}});
    plain[fixtures::firstRecordOf(plain, 8).sizeAt] = 99;
    const auto flagZero = RFAArchive::initWithData(plain).value_or(nullptr);
    ASSERT_TRUE(flagZero);
    EXPECT_EQ(entries(*flagZero).front().second, "abcd");
}

// One LZO1X stream of `n` (4 to 34) times `c`: the byte as a literal, then
// a match of the rest at distance 1. Eight bytes, whatever `n`.
Bytes runStream(char c, std::uint8_t n)
{
    return {0x12, std::uint8_t(c), std::uint8_t(29 + n), 0, 0, 0x11, 0, 0};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct SizesEqualCase {
    const char* what;
    Bytes stored;
    std::uint32_t size;
    std::uint32_t flag;
    bool compressed;
    std::optional<std::string> content; // nothing: the decompression error
};

// Whether the stored bytes are compressed decides the content; with stored
// size equal to size only bytes that decode exactly to that size are.
TEST(RFAArchiveReader, TellsCompressedFromRawWhenStoredSizeEqualsSize)
{
    using fixtures::segmentedEntry;
    const Bytes exact = segmentedEntry(1, {{8, 24, 0}}, runStream('a', 24));
    const Bytes twoSegments = segmentedEntry(2, {{8, 22, 0}, {8, 22, 8}}, runStream('a', 22) + runStream('b', 22));
    const Bytes decodesShort = segmentedEntry(1, {{8, 24, 0}}, runStream('a', 23));
    Bytes lookBehind = runStream('a', 24);
    lookBehind[3] = 4; // distance 2 after one byte
    const Bytes broken = segmentedEntry(1, {{8, 24, 0}}, lookBehind);
    const Bytes sumShort = segmentedEntry(1, {{8, 23, 0}}, runStream('a', 23) + Bytes{'x'});
    const Bytes pastTheEntry = segmentedEntry(1, {{9, 24, 0}}, runStream('a', 24));
    const Bytes script = {'r', 'e', 'm', ' ', 'h', 'i'};
    const auto raw = [](const Bytes& stored) { return std::string(stored.begin(), stored.end()); };

    const std::vector<SizesEqualCase> cases = {
        {"one segment decoding to exactly the size", exact, 24, 1, true, std::string(24, 'a')},
        {"segments adding up to the size", twoSegments, 44, 1, true, std::string(22, 'a') + std::string(22, 'b')},
        {"flag 0", exact, 24, 0, false, raw(exact)},
        {"stream decodes short of its segment", decodesShort, 24, 1, false, raw(decodesShort)},
        {"stream does not decode", broken, 24, 1, false, raw(broken)},
        {"segments add up to less than the size", sumShort, 25, 1, false, raw(sumShort)},
        {"segment past the entry", pastTheEntry, 24, 1, false, raw(pastTheEntry)},
        {"count far beyond the entry", script, 6, 1, false, raw(script)},
        {"too short for a count", {'a', 'b'}, 2, 1, false, "ab"},
        {"empty", {}, 0, 1, false, ""},
        {"sizes differ: a stream that does not decode is an error", broken, 99, 1, true, std::nullopt},
    };
    for (const SizesEqualCase& c : cases) {
        Bytes file = plainArchive({{"bf1942/e", raw(c.stored)}}, c.flag);
        replaceBytesInRange(file, fixtures::firstRecordOf(file, 8).sizeAt, c.size);

        const Result<ArchiveHeader> header = readArchiveHeader(file);
        ASSERT_TRUE(header) << c.what;
        std::uint64_t position = firstRecordPosition(*header);
        const Result<EntryRecord> record = readEntryRecord(file, *header, position);
        ASSERT_TRUE(record) << c.what;
        EXPECT_EQ(record->compressed, c.compressed) << c.what;

        if (!c.content) {
            EXPECT_EQ(failureReading(file), ErrorCode::Decompression) << c.what;
            continue;
        }
        const auto archive = RFAArchive::initWithData(file).value_or(nullptr);
        ASSERT_TRUE(archive) << c.what;
        EXPECT_EQ(entries(*archive), (std::vector<std::pair<std::string, std::string>>{{"bf1942/e", *c.content}}))
            << c.what;
    }
}

TEST(RFAArchiveReader, PlacesEntriesInRecordOrder)
{
    const auto archive = RFAArchive::initWithData(plainArchive({{"bf1942/b/y", "y"},
                                                                {"bf1942/a/x", "x1"},
                                                                {"bf1942/b/z", "z"},
                                                                {"bf1942/a/x", "x2"}})).value_or(nullptr);
    ASSERT_TRUE(archive);
    const RFATreeNode::Ptr root = archive->root();
    ASSERT_EQ(root->countOfChildren(), 2u);
    EXPECT_EQ(root->objectInChildrenAtIndex(0)->name(), "b");
    EXPECT_EQ(root->objectInChildrenAtIndex(1)->name(), "a");
    EXPECT_EQ(root->objectInChildrenAtIndex(1)->countOfChildren(), 2u) << "duplicate paths stay side by side";
    EXPECT_EQ(entries(*archive), (std::vector<std::pair<std::string, std::string>>{
                                     {"bf1942/b/y", "y"}, {"bf1942/b/z", "z"}, {"bf1942/a/x", "x1"}, {"bf1942/a/x", "x2"}}));
}

TEST(RFAArchiveReader, KeepsEveryTopLevelNodeAndWritesThemBack)
{
    // Several first components, and a file outside any folder (real archives
    // carry backslash names without a "/").
    const auto archive = RFAArchive::initWithData(plainArchive({{"objects\\tank.con", "t"},
                                                                {"bf1942/a", "a"},
                                                                {"mods/b", "b"},
                                                                {"bf1942/c", "c"}})).value_or(nullptr);
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->rootNodes().size(), 3u);
    EXPECT_EQ(archive->root()->name(), "bf1942") << "the first folder";
    EXPECT_TRUE(archive->rootNodes()[0]->isLeaf());
    EXPECT_EQ(archive->leafCount(), 4u);

    const auto reread = RFAArchive::initWithData(*archive->completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    EXPECT_EQ(entries(*reread), (std::vector<std::pair<std::string, std::string>>{
                                    {"objects\\tank.con", "t"}, {"bf1942/a", "a"}, {"bf1942/c", "c"}, {"mods/b", "b"}}));
}

TEST(RFAArchiveReader, SplitsPathsLikeTheFormat)
{
    const auto archive = RFAArchive::initWithData(plainArchive({{"bf1942//a///b", "1"}, {"/abs/x", "2"}, {"bf1942/t/", "3"}})).value_or(nullptr);
    ASSERT_TRUE(archive);
    EXPECT_TRUE(archive->root()->childWithPathArray(std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(archive->rootNodes()[1]->name(), "/");
    EXPECT_TRUE(archive->root()->childWithPathArray(std::vector<std::string>{"t", "/"}));
}

TEST(RFAArchiveReader, NamesAreLatin1AndRoundTripByteExact)
{
    const std::string name = "bf1942/caf\xE9/\xC4\xFF.con";
    const auto archive = RFAArchive::initWithData(plainArchive({{name, "x"}})).value_or(nullptr);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->root()->objectInChildrenAtIndex(0)->name(), "caf\u00e9");
    const Bytes written = *archive->completeFileData();
    const Bytes stored(name.begin(), name.end());
    EXPECT_NE(std::search(written.begin(), written.end(), stored.begin(), stored.end()), written.end());
}

TEST(RFAArchiveReader, RefusesAbsurdlyDeepPaths)
{
    std::string deep = "bf1942";
    for (std::size_t i = 0; i < kMaxEntryDepth; ++i)
        deep += "/d";
    EXPECT_EQ(failureReading(plainArchive({{deep, "x"}})), ErrorCode::OutOfBounds);
    deep.resize(deep.size() - 2);
    EXPECT_EQ(failureReading(plainArchive({{deep, "x"}})), std::nullopt);
}

TEST(RFAArchiveReader, ReportsProgressUpToTheWholeFile)
{
    const Bytes file = plainArchive({{"bf1942/a", "aaaa"}, {"bf1942/b", "bb"}});
    std::vector<std::uint64_t> done;
    ASSERT_TRUE(RFAArchive::initWithData(file, [&](std::uint64_t d, std::uint64_t total) {
        EXPECT_EQ(total, file.size());
        done.push_back(d);
        return true;
    }));
    EXPECT_EQ(done, (std::vector<std::uint64_t>{4, 6}));
    EXPECT_EQ(RFAArchive::initWithData(file, [](std::uint64_t, std::uint64_t) { return false; }).error().code,
              ErrorCode::Cancelled);
}


// Archives written like the game's packer (compressed segments, the empty
// file as one zero-size segment, a raw entry among compressed ones, a
// compressed entry exactly as long as its content, a raw entry that begins
// like a segment table) read to exactly the contents their generator
// recorded. Which entries count as compressed, the command line's test of
// them checks through "list -l".
TEST(RFAArchiveReader, ReadsPackerArchivesToTheirRecordedContents)
{
    std::map<std::string, std::unique_ptr<RFAArchive>> opened;
    std::size_t checked = 0;
    for (const fixtures::ManifestEntry& entry : fixtures::packerManifest()) {
        std::unique_ptr<RFAArchive>& archive = opened[entry.archive];
        if (!archive) {
            const Result<Bytes> file = readWholeFile(fixtures::packerArchiveFolder() + entry.archive);
            ASSERT_TRUE(file) << entry.archive;
            archive = RFAArchive::initWithData(*file).value_or(nullptr);
            ASSERT_TRUE(archive) << entry.archive;
        }
        const std::vector<std::string> components = splitEntryPath(entry.path);
        const RFATreeNode::Ptr node = archive->root()->childWithPathArray(std::span(components).subspan(1));
        ASSERT_TRUE(node) << entry.path;
        EXPECT_EQ(node->data()->size(), entry.size) << entry.path;
        EXPECT_EQ(fixtures::fnv1a64(*node->data()), entry.hash) << entry.path;
        ++checked;
    }
    EXPECT_EQ(checked, 13u);
}

} // namespace
} // namespace larkspan
