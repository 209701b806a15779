// Archives whose fields promise far more than the file holds. Each must be
// refused with its error before the promise costs memory: the reader may
// hold no more than 64 MiB beyond the file, counted at the allocator.

#include "base/ByteOrder.h"
#include "model/RFAArchive.h"
#include "support/AllocationProbe.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace larkspan {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kMostHeldBeyondTheFile = 64 * kMiB;
// Far more than a refusal needs, far fewer than working through the
// promise would: the cost of the read, counted without a clock.
constexpr std::size_t kMostRequests = 1000;

constexpr std::uint32_t kCompressed = 1;

using Segment = fixtures::SegmentRow;
using fixtures::segmentedEntry;

// A plain-layout archive of one record over `stored`, the directory after it.
Bytes archiveOf(const Bytes& stored, fixtures::RawRecord record, std::uint32_t flag,
                std::uint32_t entryCount = 1)
{
    Bytes file;
    appendLittleInt(file, static_cast<std::uint32_t>(8 + stored.size()));
    appendLittleInt(file, flag);
    file.insert(file.end(), stored.begin(), stored.end());
    appendLittleInt(file, entryCount);
    fixtures::appendRecord(file, record);
    appendLittleInt(file, 0);
    return file;
}

// LZO1X: one literal zero and one match at distance 1 of 33 + 255·z + b bytes.
Bytes zeroMatchStream(std::size_t z, std::uint8_t b)
{
    Bytes stream = {0x12, 0x00, 0x20};
    stream.insert(stream.end(), z, 0x00);
    stream.insert(stream.end(), {b, 0x00, 0x00, 0x11, 0x00, 0x00});
    return stream;
}

const Bytes kBroken = {0x01, 0x02, 0x03};

struct LyingCase {
    std::string name;
    Bytes file;
    ErrorCode failure;
};

std::vector<LyingCase> lyingCases()
{
    std::vector<LyingCase> cases;
    const Bytes content(16, 'x');
    cases.push_back({"EntryOf4GiBStored", archiveOf(content, {"bf1942/big", UINT32_MAX, UINT32_MAX, 8}, 0),
                     ErrorCode::OutOfBounds});
    {
        const Bytes entry = segmentedEntry(1, {{3, UINT32_MAX, 0}}, kBroken);
        cases.push_back({"CompressedEntryOf4GiB",
                         archiveOf(entry, {"bf1942/big", std::uint32_t(entry.size()), UINT32_MAX, 8}, kCompressed),
                         ErrorCode::Decompression});
    }
    {
        const Bytes entry = segmentedEntry(2, {{3, 1u << 31, 0}, {3, 1u << 31, 0}}, kBroken);
        cases.push_back({"SegmentsOf2GiB",
                         archiveOf(entry, {"bf1942/big", std::uint32_t(entry.size()), UINT32_MAX, 8}, kCompressed),
                         ErrorCode::Decompression});
    }
    {
        // A stream long enough to pass the expansion bound, broken at its
        // second instruction: the declared size must not be allocated.
        const Bytes stream((std::uint64_t(1) << 31) / 255 + 1, 0xFF);
        const Bytes entry = segmentedEntry(1, {{std::uint32_t(stream.size()), 1u << 31, 0}}, stream);
        cases.push_back({"SegmentOf2GiBOverABrokenStream",
                         archiveOf(entry, {"bf1942/big", std::uint32_t(entry.size()), UINT32_MAX, 8}, kCompressed),
                         ErrorCode::Decompression});
    }
    {
        // The count, and nothing of the table it announces.
        const Bytes entry = segmentedEntry(100'000, {}, {});
        cases.push_back({"HundredThousandSegmentsWithoutATable",
                         archiveOf(entry, {"bf1942/big", std::uint32_t(entry.size()), 1u << 30, 8}, kCompressed),
                         ErrorCode::Decompression});
    }
    {
        // A whole table whose segments all point at the same three bytes.
        const Bytes entry = segmentedEntry(100'000, std::vector<Segment>(100'000, {3, 512, 0}), kBroken);
        cases.push_back({"HundredThousandSegmentsOfNoStream",
                         archiveOf(entry, {"bf1942/big", std::uint32_t(entry.size()), 1u << 30, 8}, kCompressed),
                         ErrorCode::Decompression});
    }
    cases.push_back({"EntryCountOf2^32-1", archiveOf(content, {"bf1942/a", 16, 16, 8}, 0, UINT32_MAX),
                     ErrorCode::OutOfBounds});
    {
        Bytes file = archiveOf(content, {"bf1942/a", 16, 16, 8}, 0);
        replaceBytesInRange(file, 8 + content.size() + 4, UINT32_MAX);
        cases.push_back({"NameLengthOf2^32-1", file, ErrorCode::OutOfBounds});
    }
    return cases;
}

TEST(LyingInput, HonestSegmentsOfManyMegabytesStillDecode)
{
    // The reader first gives a segment a few megabytes and more only as its
    // stream fills them: those that fill them must come out whole, and
    // those that end short must still fail.
    struct Case {
        std::size_t z;
        std::uint8_t b;
        std::uint32_t declared;
        bool decodes;
    };
    const std::size_t eightMiBRun = 1 + 33 + 255 * 32'900 + 1;
    const Case cases[] = {
        {128, 0x5E, 32'768, true},
        {32'900, 1, std::uint32_t(eightMiBRun), true},
        {16'448, 200, 1 + 33 + 255 * 16'448 + 200, true},
        {32'900, 1, std::uint32_t(eightMiBRun + 1), false},
        {32'900, 1, std::uint32_t(eightMiBRun - 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declared);
        const Bytes stream = zeroMatchStream(c.z, c.b);
        const Bytes entry = segmentedEntry(1, {{std::uint32_t(stream.size()), c.declared, 0}}, stream);
        const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(
            archiveOf(entry, {"bf1942/zeros", std::uint32_t(entry.size()), c.declared, 8}, kCompressed));
        if (!c.decodes) {
            ASSERT_FALSE(read);
            EXPECT_EQ(read.error().code, ErrorCode::Decompression);
            continue;
        }
        ASSERT_TRUE(read);
        const std::unique_ptr<RFAArchive>& archive = *read;
        const Bytes& zeros = *archive->root()->childWithName("zeros")->data();
        ASSERT_EQ(zeros.size(), c.declared);
        EXPECT_EQ(std::count(zeros.begin(), zeros.end(), 0), std::ptrdiff_t(c.declared));
    }
}

TEST(LyingInput, RefusedWithItsErrorAndLittleMemory)
{
    for (const LyingCase& c : lyingCases()) {
        SCOPED_TRACE(c.name);
        bool refused = false;
        ErrorCode failure{};
        const test::AllocationFigures figures = test::allocationsDuring([&] {
            // The result lives inside, so that what is still held afterwards is a leak.
            const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(c.file);
            refused = !read;
            if (refused)
                failure = read.error().code;
        });
        ASSERT_TRUE(refused);
        EXPECT_EQ(failure, c.failure);
        EXPECT_LT(figures.peak, kMostHeldBeyondTheFile);
        EXPECT_LT(figures.count, kMostRequests);
        EXPECT_EQ(figures.kept, 0);
    }
}

} // namespace
} // namespace larkspan
