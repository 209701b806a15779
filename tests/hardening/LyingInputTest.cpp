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

// A plain-layout compressed archive of one entry, its size field `size`.
Bytes compressedArchive(const Bytes& entry, std::uint32_t size)
{
    return fixtures::archiveOf({{"bf1942/big", entry, size}}, kCompressed);
}

// An honest one-entry archive but for one field, which says 2^32 - 1.
Bytes lyingField(std::size_t fixtures::FirstRecord::*field)
{
    Bytes file = fixtures::plainArchive({{"bf1942/a", std::string(16, 'x')}});
    replaceBytesInRange(file, fixtures::firstRecordOf(file, 8).*field, UINT32_MAX);
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
    using fixtures::FirstRecord;
    // A stream long enough to pass the expansion bound, broken at its
    // second instruction: the declared size must not be allocated.
    const Bytes longBroken((std::uint64_t(1) << 31) / 255 + 1, 0xFF);
    return {
        {"EntryOf4GiBStored", lyingField(&FirstRecord::storedSizeAt), ErrorCode::OutOfBounds},
        {"CompressedEntryOf4GiB", compressedArchive(segmentedEntry(1, {{3, UINT32_MAX, 0}}, kBroken), UINT32_MAX),
         ErrorCode::Decompression},
        {"SegmentsOf2GiB",
         compressedArchive(segmentedEntry(2, {{3, 1u << 31, 0}, {3, 1u << 31, 0}}, kBroken), UINT32_MAX),
         ErrorCode::Decompression},
        {"SegmentOf2GiBOverABrokenStream",
         compressedArchive(segmentedEntry(1, {{std::uint32_t(longBroken.size()), 1u << 31, 0}}, longBroken), UINT32_MAX),
         ErrorCode::Decompression},
        // The count, and nothing of the table it announces.
        {"HundredThousandSegmentsWithoutATable", compressedArchive(segmentedEntry(100'000, {}, {}), 1u << 30),
         ErrorCode::Decompression},
        // A whole table whose segments all point at the same three bytes.
        {"HundredThousandSegmentsOfNoStream",
         compressedArchive(segmentedEntry(100'000, std::vector<Segment>(100'000, {3, 512, 0}), kBroken), 1u << 30),
         ErrorCode::Decompression},
        {"EntryCountOf2^32-1", lyingField(&FirstRecord::countAt), ErrorCode::OutOfBounds},
        {"NameLengthOf2^32-1", lyingField(&FirstRecord::nameLengthAt), ErrorCode::OutOfBounds},
    };
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
        const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(compressedArchive(entry, c.declared));
        if (!c.decodes) {
            ASSERT_FALSE(read);
            EXPECT_EQ(read.error().code, ErrorCode::Decompression);
            continue;
        }
        ASSERT_TRUE(read);
        const std::unique_ptr<RFAArchive>& archive = *read;
        const Bytes& zeros = *archive->root()->childWithName("big")->data();
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
