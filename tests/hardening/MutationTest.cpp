// The committed archives, cut short at every length on a stride and with
// thousands of seeded byte flips, through the archive fuzz target: each read
// either yields an archive that the writer stores and the reader gives back
// unchanged, or a clean "unpack" error; never a crash, never a leak, never
// much memory.

#include "model/RFAArchive.h"
#include "support/AllocationProbe.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace larkspan {
namespace {

constexpr std::size_t kMostHeldBeyondTheFile = 64 * 1024 * 1024;
constexpr std::size_t kTruncationsPerFile = 1500;
constexpr std::size_t kCutsAtEveryByte = 4096;
constexpr std::size_t kFlipsPerFile = 3000;

struct Fixture {
    std::string name;
    Bytes bytes;
};

// Compressed archives as the game's packer writes them, both layouts, with
// entries whose stored size equals their size (one compressed, one raw that
// begins like a segment table), and the uncompressed one our writer makes of
// the larger.
std::vector<Fixture> fixtures()
{
    std::vector<Fixture> all = {
        {"packer_plain.rfa", fixtures::testData("archives/packer_plain.rfa")},
        {"packer_identified.rfa", fixtures::testData("archives/packer_identified.rfa")},
        {"packer_sizes_equal.rfa", fixtures::testData("archives/packer_sizes_equal.rfa")},
        {"packer_table_lookalike.rfa", fixtures::testData("archives/packer_table_lookalike.rfa")},
    };
    const auto read = RFAArchive::initWithData(all.front().bytes).value_or(nullptr);
    all.push_back({"written.rfa", *read->completeFileData()});
    return all;
}

// One read of a damaged file through the archive fuzz target, which aborts
// unless the file is refused with an "unpack" error or read into trees the
// writer stores and the reader gives back unchanged; here, also counted at
// the allocator. False, with a failure recorded, when it held too much.
bool judge(const Bytes& file, const std::string& what)
{
    const test::AllocationFigures figures =
        test::allocationsDuring([&] { LLVMFuzzerTestOneInput(file.data(), file.size()); });
    EXPECT_LT(figures.peak, kMostHeldBeyondTheFile + file.size()) << what;
    EXPECT_EQ(figures.kept, 0) << what;
    return figures.peak < kMostHeldBeyondTheFile + file.size() && figures.kept == 0;
}

TEST(Mutation, EveryTruncationAndRandomByteFlipsReadOrAreRefused)
{
    std::mt19937 random(1942);
    for (const Fixture& f : fixtures()) {
        SCOPED_TRACE(f.name);
        // On a stride through the data, then at every length through the
        // directory and the last contents, where a cut leaves most to read.
        const std::size_t stride = std::max<std::size_t>(1, f.bytes.size() / kTruncationsPerFile);
        const std::size_t everyByteFrom = f.bytes.size() > kCutsAtEveryByte ? f.bytes.size() - kCutsAtEveryByte : 0;
        for (std::size_t length = 0; length < f.bytes.size(); length += length < everyByteFrom ? stride : 1) {
            const Bytes cut(f.bytes.begin(), f.bytes.begin() + std::ptrdiff_t(length));
            ASSERT_TRUE(judge(cut, "cut to " + std::to_string(length)));
        }
        std::uniform_int_distribution<std::size_t> position(0, f.bytes.size() - 1);
        std::uniform_int_distribution<int> mask(1, 255);
        std::uniform_int_distribution<int> flips(1, 4);
        for (std::size_t n = 0; n < kFlipsPerFile; ++n) {
            Bytes damaged = f.bytes;
            std::string what = "flipped";
            for (int k = flips(random); k > 0; --k) {
                const std::size_t at = position(random);
                const int bits = mask(random);
                damaged[at] ^= static_cast<std::uint8_t>(bits);
                what += " " + std::to_string(at) + "^" + std::to_string(bits);
            }
            ASSERT_TRUE(judge(damaged, what));
        }
    }
}

} // namespace
} // namespace larkspan
