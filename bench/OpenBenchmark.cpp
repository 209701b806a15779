// Opening a compressed archive of the game packer's kind and decoding every
// entry: RFAArchive::initWithFile on the file in memory, decoding while
// reading (parse, decode on every core, tree), against liblzo2 alone
// decoding the same entries' segments into a preallocated buffer on one
// thread, in the same run. Then what the editor's open alone costs (parse,
// segment tables, tree; entries decoded when read) and opening followed by
// reading every entry, as a save does. Then the peak memory of each, in a
// fresh process.
//
//   bench_open [--corpus-mb=N] [--rounds=N]
//
// The archive (about a third of the corpus) is built once and cached in the
// build directory.

#include "ChildProcess.h"
#include "PackerArchive.h"
#include "Rounds.h"

#include "base/WorkerPool.h"
#include "model/RFAArchive.h"
#include "fs/FileIO.h"
#include "model/RFATreeEnumerator.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unordered_map>

namespace {

using namespace larkspan;
using namespace larkspan::bench;

// Decodes every entry into `out` (raw entries are copied), back to back;
// false when liblzo2 refuses a segment.
bool decodeWithLiblzo(std::span<const EntryRecord> records, std::uint8_t* out)
{
    for (const EntryRecord& record : records) {
        if (!record.compressed) {
            std::memcpy(out, record.stored.data(), record.stored.size());
            out += record.stored.size();
            continue;
        }
        for (const StoredSegment& segment : storedSegments(record)) {
            lzo_uint produced = segment.size;
            if (lzo1x_decompress_safe(segment.stream.data(), segment.stream.size(), out, &produced, nullptr) !=
                    LZO_E_OK ||
                produced != segment.size)
                return false;
            out += segment.size;
        }
    }
    return true;
}

// The same, each entry into memory of its own, fresh from the allocator.
bool decodeWithLiblzoIntoFreshMemory(const std::vector<EntryRecord>& records,
                                     std::vector<std::unique_ptr<std::uint8_t[]>>& contents)
{
    contents.clear();
    for (const EntryRecord& record : records) {
        const std::size_t size = record.compressed ? record.size : record.stored.size();
        contents.emplace_back(new std::uint8_t[size]);
        if (!decodeWithLiblzo(std::span(&record, 1), contents.back().get()))
            return false;
    }
    return true;
}

// Both decoders agree on every entry, found in the tree by its path.
bool treeHoldsLiblzoContent(const RFAArchive& archive, const std::vector<EntryRecord>& records,
                            const std::uint8_t* decoded)
{
    std::unordered_multimap<std::string, SharedBytes> byPath;
    for (const RFATreeNode::Ptr& top : archive.rootNodes()) {
        RFATreeEnumerator leaves = top->leafEnumerator();
        while (const RFATreeNode::Ptr leaf = leaves.nextObject())
            byPath.emplace(leaf->fullPath(), leaf->data());
    }
    for (const EntryRecord& record : records) {
        const std::size_t size = record.compressed ? record.size : record.stored.size();
        const auto [first, last] = byPath.equal_range(record.name);
        if (!std::any_of(first, last, [&](const auto& entry) {
                return entry.second->size() == size && std::memcmp(entry.second->data(), decoded, size) == 0;
            }))
            return false;
        decoded += size;
    }
    return byPath.size() == records.size();
}

// Sections run in a process of their own, which prints its peak memory, so
// that the peak is theirs alone.
int runChild(const std::string& section, const char* path)
{
    Result<Bytes> file = readWholeFile(path);
    if (!file)
        return 1;
    const SharedBytes bytes = makeSharedBytes(std::move(*file));
    const auto decoding =
        section == "--open-child" ? RFAArchive::Decoding::WhileReading : RFAArchive::Decoding::WhenRead;
    if (section != "--read-child" && !RFAArchive::initWithFile(bytes, decoding).value_or(nullptr))
        return 1;
    std::printf("%ld\n", peakResidentKiB());
    return 0;
}

long medianPeakKiB(const std::string& section, const std::string& path, int rounds)
{
    const std::string report = std::string(LARKSPAN_BENCH_CACHE_DIR) + "/open-bench-peak.txt";
    std::vector<long> peaks;
    for (int i = 0; i < rounds; ++i) {
        if (runProcess({selfExecutable(), section, path}, report) != 0)
            throw std::runtime_error(section + " failed");
        long peak = 0;
        std::ifstream(report) >> peak;
        peaks.push_back(peak);
    }
    std::filesystem::remove(report);
    std::sort(peaks.begin(), peaks.end());
    return peaks[peaks.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && (std::strcmp(argv[1], "--open-child") == 0 || std::strcmp(argv[1], "--read-child") == 0 ||
                      std::strcmp(argv[1], "--lazy-open-child") == 0))
        return runChild(argv[1], argv[2]);
    const int rounds = takeRounds(argc, argv, 5);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 320);
    if (lzo_init() != LZO_E_OK)
        return 1;
    startReport("bench_open");

    const PackerArchive archive = packerArchive(megabytes << 20, LARKSPAN_BENCH_CACHE_DIR);
    const std::vector<EntryRecord> records = entryRecords(archive.bytes);
    std::size_t contentSize = 0;
    std::size_t raw = 0;
    for (const EntryRecord& record : records) {
        contentSize += record.compressed ? record.size : record.stored.size();
        raw += record.compressed ? 0 : 1;
    }
    std::printf("archive %s: %zu bytes, %zu entries (%zu stored raw), %zu bytes of content\n",
                archive.path.c_str(), archive.bytes.size(), records.size(), raw, contentSize);

    Bytes decoded(contentSize);
    const SharedBytes file = makeSharedBytes(archive.bytes);
    const auto open = [&file](RFAArchive::Decoding decoding) {
        return RFAArchive::initWithFile(file, decoding).value_or(nullptr);
    };
    std::unique_ptr<RFAArchive> opened = open(RFAArchive::Decoding::WhileReading);
    if (!opened || !decodeWithLiblzo(records, decoded.data()) ||
        !treeHoldsLiblzoContent(*opened, records, decoded.data())) {
        std::fprintf(stderr, "the archive does not open to what liblzo2 decodes\n");
        return 1;
    }
    opened.reset();

    std::vector<std::unique_ptr<std::uint8_t[]>> fresh;
    bool decodedAll = true;
    const std::vector<double> seconds = medianSeconds(
        {
            {"decoding while reading", [&] { opened = open(RFAArchive::Decoding::WhileReading); },
             [&] { opened.reset(); }},
            {"liblzo2", [&] { decodedAll &= decodeWithLiblzo(records, decoded.data()); }},
            {"liblzo2 fresh", [&] { decodedAll &= decodeWithLiblzoIntoFreshMemory(records, fresh); },
             [&] { fresh.clear(); }},
            {"open only", [&] { opened = open(RFAArchive::Decoding::WhenRead); }, [&] { opened.reset(); }},
            {"open, then read all",
             [&] {
                 opened = open(RFAArchive::Decoding::WhenRead);
                 decodedAll &= opened && loadContents(opened->rootNodes());
             },
             [&] { opened.reset(); }},
        },
        rounds);
    if (!decodedAll || !opened) {
        std::fprintf(stderr, "decoding failed while timing\n");
        return 1;
    }
    opened.reset();
    fresh.clear();

    std::printf("opening (median of %d rounds, throughput in content bytes):\n", rounds);
    // The entries are decoded on one worker per core; the anchor has one thread.
    const std::string cores = std::to_string(defaultWorkerCount()) + " cores";
    printComparison("RFAArchive::initWithFile decoding while reading, on " + cores + " " +
                        timeAndThroughput(seconds[0], contentSize),
                    "lzo1x_decompress_safe into one preallocated buffer, one thread " +
                        timeAndThroughput(seconds[1], contentSize),
                    Ratio::Speed, seconds[1] / seconds[0], Goal::AtLeast, 1.5);
    printComparison("RFAArchive::initWithFile decoding while reading " + timeAndThroughput(seconds[0], contentSize),
                    "lzo1x_decompress_safe into fresh memory per entry " + timeAndThroughput(seconds[2], contentSize),
                    Ratio::Speed, seconds[2] / seconds[0]);
    printComparison("RFAArchive::initWithFile, entries decoded when read (the editor's open) " +
                        milliseconds(seconds[3]),
                    "the same decoding while reading " + milliseconds(seconds[0]), Ratio::Time,
                    seconds[3] / seconds[0]);
    printComparison("open, then every entry read with loadContents " + timeAndThroughput(seconds[4], contentSize),
                    "the same decoding while reading " + timeAndThroughput(seconds[0], contentSize), Ratio::Speed,
                    seconds[0] / seconds[4]);

    const int peakRounds = std::max(1, std::min(rounds, 3));
    const long openKiB = medianPeakKiB("--open-child", archive.path, peakRounds);
    const long readKiB = medianPeakKiB("--read-child", archive.path, peakRounds);
    const long lazyKiB = medianPeakKiB("--lazy-open-child", archive.path, peakRounds);
    const double goalMiB = (archive.bytes.size() + contentSize) * 1.1 / (1 << 20) + 32;
    std::printf("peak memory of opening in a fresh process (VmHWM, median of %d):\n", peakRounds);
    printComparison("read + open decoding while reading " + std::to_string(openKiB / 1024) + " MiB",
                    "goal (file " + std::to_string(archive.bytes.size() >> 20) + " MiB + content " +
                        std::to_string(contentSize >> 20) + " MiB) + 10 % + 32 MiB = " +
                        std::to_string(static_cast<long>(goalMiB)) + " MiB; reading the file alone " +
                        std::to_string(readKiB / 1024) + " MiB",
                    Ratio::Size, openKiB / 1024.0 / goalMiB, Goal::AtMost, 1.0);
    printComparison("read + open, entries decoded when read " + std::to_string(lazyKiB / 1024) + " MiB",
                    "the same goal, " + std::to_string(static_cast<long>(goalMiB)) + " MiB", Ratio::Size,
                    lazyKiB / 1024.0 / goalMiB, Goal::AtMost, 1.0);
    std::printf("bench_open done: %s\n", machineLoad().c_str());
    return 0;
}
