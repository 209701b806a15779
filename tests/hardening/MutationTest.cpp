// The committed archives, cut short at every length on a stride and with
// thousands of seeded byte flips: each read either yields an archive that
// the writer stores and the reader gives back unchanged, or a clean
// "unpack" error; never a crash, never a leak, never much memory.

#include "model/RFAArchive.h"
#include "support/AllocationProbe.h"
#include "fs/FileIO.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

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

Bytes fixtureBytes(const std::string& relative)
{
    Result<Bytes> bytes = readWholeFile(std::string(LARKSPAN_TEST_DATA) + "/" + relative);
    if (!bytes)
        throw std::runtime_error("missing fixture " + relative);
    return std::move(*bytes);
}

// Compressed archives as the game's packer writes them, both layouts, with
// entries whose stored size equals their size (one compressed, one raw that
// begins like a segment table), and the uncompressed one our writer makes of
// the larger.
std::vector<Fixture> fixtures()
{
    std::vector<Fixture> all = {
        {"packer_plain.rfa", fixtureBytes("archives/packer_plain.rfa")},
        {"packer_identified.rfa", fixtureBytes("archives/packer_identified.rfa")},
        {"packer_sizes_equal.rfa", fixtureBytes("archives/packer_sizes_equal.rfa")},
        {"packer_table_lookalike.rfa", fixtureBytes("archives/packer_table_lookalike.rfa")},
    };
    const auto read = RFAArchive::initWithData(all.front().bytes).value_or(nullptr);
    all.push_back({"written.rfa", *read->completeFileData()});
    return all;
}

// Every node's path and content, in pre-order.
void list(const RFATreeNode::Ptr& node, std::vector<std::pair<std::string, SharedBytes>>& out)
{
    out.emplace_back(node->fullPath(), node->data());
    for (std::size_t i = 0; i < node->countOfChildren(); ++i)
        list(node->objectInChildrenAtIndex(i), out);
}

bool sameTrees(const RFAArchive& a, const RFAArchive& b)
{
    std::vector<std::pair<std::string, SharedBytes>> left, right;
    for (const RFATreeNode::Ptr& top : a.rootNodes())
        list(top, left);
    for (const RFATreeNode::Ptr& top : b.rootNodes())
        list(top, right);
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](const auto& x, const auto& y) {
        return x.first == y.first && !x.second == !y.second && (!x.second || *x.second == *y.second);
    });
}

enum class Outcome { Read, Refused, Broken };

// One read of a damaged file, judged inside the probe so that everything
// it made is gone again when the probe looks at what is still held.
Outcome readDamaged(const Bytes& file)
{
    const Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(file);
    if (!read) {
        const ErrorCode code = read.error().code;
        const bool clean = code == ErrorCode::OutOfBounds || code == ErrorCode::Decompression;
        return clean ? Outcome::Refused : Outcome::Broken;
    }
    const std::unique_ptr<RFAArchive>& archive = *read;
    const std::optional<Bytes> written = archive->completeFileData();
    if (!written)
        return Outcome::Broken;
    const std::unique_ptr<RFAArchive> reread = RFAArchive::initWithData(*written).value_or(nullptr);
    return reread && sameTrees(*archive, *reread) ? Outcome::Read : Outcome::Broken;
}

struct Tally {
    std::size_t read = 0;
    std::size_t refused = 0;
};

// False, with a failure recorded, for a read that went wrong.
bool judge(const Bytes& file, const std::string& what, Tally& tally)
{
    Outcome outcome = Outcome::Broken;
    const test::AllocationFigures figures = test::allocationsDuring([&] { outcome = readDamaged(file); });
    EXPECT_NE(outcome, Outcome::Broken) << what;
    EXPECT_LT(figures.peak, kMostHeldBeyondTheFile + file.size()) << what;
    EXPECT_EQ(figures.kept, 0) << what;
    (outcome == Outcome::Read ? tally.read : tally.refused) += 1;
    return outcome != Outcome::Broken && figures.peak < kMostHeldBeyondTheFile + file.size() && figures.kept == 0;
}

TEST(Mutation, EveryTruncationReadsOrIsRefused)
{
    for (const Fixture& f : fixtures()) {
        SCOPED_TRACE(f.name);
        Tally tally;
        // On a stride through the data, then at every length through the
        // directory and the last contents, where a cut leaves most to read.
        const std::size_t stride = std::max<std::size_t>(1, f.bytes.size() / kTruncationsPerFile);
        const std::size_t everyByteFrom = f.bytes.size() > kCutsAtEveryByte ? f.bytes.size() - kCutsAtEveryByte : 0;
        for (std::size_t length = 0; length < f.bytes.size(); length += length < everyByteFrom ? stride : 1) {
            const Bytes cut(f.bytes.begin(), f.bytes.begin() + std::ptrdiff_t(length));
            ASSERT_TRUE(judge(cut, "cut to " + std::to_string(length), tally));
        }
        // An empty file is an empty archive; past it, cuts lose records.
        EXPECT_GT(tally.refused, 0u);
        std::cout << "[ cuts     ] " << f.name << ": " << tally.read << " read, " << tally.refused << " refused\n";
    }
}

TEST(Mutation, RandomByteFlipsReadOrAreRefused)
{
    std::mt19937 random(1942);
    for (const Fixture& f : fixtures()) {
        SCOPED_TRACE(f.name);
        Tally tally;
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
            ASSERT_TRUE(judge(damaged, what, tally));
        }
        // Flips in contents read fine, flips in the directory and the
        // segment tables are refused: both must have happened.
        EXPECT_GT(tally.read, 0u);
        EXPECT_GT(tally.refused, 0u);
        std::cout << "[ flips    ] " << f.name << ": " << tally.read << " read, " << tally.refused << " refused\n";
    }
}

} // namespace
} // namespace larkspan
