#include "format/ArchiveDirectory.h"
#include "model/RFAArchive.h"
#include "support/ArchiveBytes.h"
#include "model/RFATreeEnumerator.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace larkspan {
namespace {

using fixtures::appendText;
using fixtures::plainArchive;
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

// Every field that points into the file is checked against its end, in 64
// bits, and a name may be only so deep; a file without entries is an empty
// archive.
TEST(RFAArchiveReader, ChecksEveryFieldAgainstTheFile)
{
    const Bytes good = plainArchive({{"bf1942/a.con", "abc"}});
    const fixtures::FirstRecord at = fixtures::firstRecordOf(good, 12);
    const std::uint32_t end = static_cast<std::uint32_t>(good.size());
    const auto changed = [&](std::size_t position, std::uint32_t value) {
        Bytes file = good;
        replaceBytesInRange(file, position, value);
        return file;
    };
    const auto withData = [&](std::uint32_t storedSize, std::uint32_t offset) {
        Bytes file = changed(at.storedSizeAt, storedSize);
        replaceBytesInRange(file, at.dataOffsetAt, offset);
        return file;
    };
    Bytes nearMiss;
    appendText(nearMiss, "Refractor2 FlatArchive 1.1");
    nearMiss.insert(nearMiss.end(), {0, 0, 28, 0, 0, 0, 0, 0, 0, 0});
    const Bytes cutTrailer(good.begin(), good.end() - 1);
    const auto deepName = [](std::size_t depth) {
        std::string name = "bf1942";
        for (std::size_t i = 1; i < depth; ++i)
            name += "/d";
        return plainArchive({{name, "x"}});
    };
    const std::optional<ErrorCode> outOfBounds = ErrorCode::OutOfBounds;
    const std::tuple<const char*, Bytes, std::optional<ErrorCode>> cases[] = {
        {"empty file", {}, std::nullopt},
        {"directory offset at the end", {8, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"zero entries", plainArchive({}), std::nullopt},
        {"data ending exactly at the end", withData(5, end - 5), std::nullopt},
        {"data one byte further", withData(6, end - 5), outOfBounds},
        {"data whose end wraps 32 bits", withData(0xFFFFFFFF, 8), outOfBounds},
        {"empty data far past the end", withData(0, 0xFFFFFF00), outOfBounds},
        {"directory offset past the end", changed(0, end + 1), outOfBounds},
        {"identification string with two zero bytes is the plain layout", nearMiss, outOfBounds},
        {"entry count beyond the records", changed(at.countAt, 2), outOfBounds},
        {"last trailer cut short", cutTrailer, outOfBounds},
        {"name length beyond the file", changed(at.nameLengthAt, 0xFF000C), outOfBounds},
        {"a name exactly as deep as the limit", deepName(kMaxEntryDepth), std::nullopt},
        {"a name one deeper", deepName(kMaxEntryDepth + 1), outOfBounds},
    };
    for (const auto& [what, file, failure] : cases)
        EXPECT_EQ(failureReading(file), failure) << what;
}

TEST(RFAArchiveReader, BothLayoutsAndTheRecordFields)
{
    // Compressed flag, but stored size = size: taken as it stands. A zero
    // byte cuts the name; the record still spans its whole length.
    const Bytes identified = fixtures::archiveOf(
        {fixtures::rawEntry("bf1942/raw.con", fixtures::bytesOf("raw")),
         fixtures::rawEntry(std::string("bf1942/cut.con\0junk", 19), fixtures::bytesOf("data"))},
        1, true);
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

// Entries go into the tree in record order, duplicates side by side, under
// every first component (real archives also carry backslash names without a
// "/"), their names split as the format splits them and read as Latin-1; the
// writer stores them back in the tree's order, in the same bytes.
TEST(RFAArchiveReader, PlacesEntriesInRecordOrderAndWritesThemBack)
{
    const auto archive = RFAArchive::initWithData(plainArchive({{"objects\\tank.con", "t"},
                                                                {"bf1942/b/y", "y"},
                                                                {"bf1942/a/x", "x1"},
                                                                {"mods/m", "m"},
                                                                {"bf1942/b/z", "z"},
                                                                {"bf1942/a/x", "x2"},
                                                                {"bf1942/caf\xE9/\xC4\xFF.con", "e"},
                                                                {"bf1942//c///d", "d"},
                                                                {"/abs/x", "2"},
                                                                {"bf1942/t/", "3"}})).value_or(nullptr);
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->rootNodes().size(), 4u);
    EXPECT_TRUE(archive->rootNodes()[0]->isLeaf());
    EXPECT_EQ(archive->root()->name(), "bf1942") << "the first folder";
    EXPECT_EQ(archive->root()->objectInChildrenAtIndex(1)->countOfChildren(), 2u) << "duplicate paths stay side by side";
    EXPECT_EQ(archive->rootNodes()[3]->name(), "/");
    EXPECT_TRUE(archive->root()->childWithPathArray(std::vector<std::string>{"t", "/"}));
    const std::vector<std::pair<std::string, std::string>> treeOrder = {
        {"objects\\tank.con", "t"}, {"bf1942/b/y", "y"}, {"bf1942/b/z", "z"},
        {"bf1942/a/x", "x1"}, {"bf1942/a/x", "x2"}, {"bf1942/caf\u00e9/\u00c4\u00ff.con", "e"},
        {"bf1942/c/d", "d"}, {"bf1942/t//", "3"}, {"mods/m", "m"}, {"//abs/x", "2"}};
    EXPECT_EQ(entries(*archive), treeOrder);
    const auto reread = RFAArchive::initWithData(*archive->completeFileData()).value_or(nullptr);
    ASSERT_TRUE(reread);
    EXPECT_EQ(entries(*reread), treeOrder);
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

} // namespace
} // namespace larkspan
