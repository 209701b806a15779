// `rfa pack --compress` of a tree of the corpus's files, run as a process,
// against the same files read and compressed segment by segment with
// liblzo2's lzo1x_999 on one thread, in the same run: time, and the stored
// bytes of the entries (segment tables and streams) against each other.
//
//   bench_pack [--corpus-mb=N] [--rounds=N]
//
// The tree is written once into the build directory and kept there.

#include "ChildProcess.h"
#include "FileWriting.h"
#include "LzoSegments.h"
#include "PackerArchive.h"
#include "Rounds.h"

#include "fs/FileIO.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

// The corpus as files below `root`, at their archive paths (written only
// when an earlier run has not finished writing them); their paths.
std::vector<fs::path> writeTree(const std::vector<CorpusFile>& files, const fs::path& root)
{
    std::vector<fs::path> paths;
    const bool written = fs::exists(root / ".complete");
    for (const CorpusFile& file : files) {
        paths.push_back(root / archivePathOf(file));
        if (written)
            continue;
        fs::create_directories(paths.back().parent_path());
        PlainFile out(paths.back());
        out.write(file.bytes);
        out.close();
    }
    PlainFile(root / ".complete").close();
    return paths;
}

// Every file read and compressed as the game's packer does, on this
// thread; the entries' stored bytes in all.
std::size_t compressWithLiblzo(const std::vector<fs::path>& paths)
{
    std::vector<unsigned char> work(LZO1X_999_MEM_COMPRESS);
    Bytes stream(kSegmentSize + kSegmentSize / 16 + 64 + 3);
    std::size_t stored = 0;
    for (const fs::path& path : paths) {
        const Result<Bytes> content = readWholeFile(path);
        if (!content)
            throw std::runtime_error("cannot read " + path.string());
        stored += 4;
        for (std::size_t at = 0; at < content->size(); at += kSegmentSize) {
            const std::size_t length = std::min(kSegmentSize, content->size() - at);
            lzo_uint streamLength = stream.size();
            if (lzo1x_999_compress(content->data() + at, length, stream.data(), &streamLength, work.data()) !=
                LZO_E_OK)
                throw std::runtime_error("lzo1x_999 failed");
            stored += 12 + streamLength;
        }
    }
    return stored;
}

std::size_t storedBytesOf(const fs::path& archive)
{
    const Result<Bytes> file = readWholeFile(archive);
    if (!file)
        throw std::runtime_error("cannot read " + archive.string());
    std::size_t stored = 0;
    for (const EntryRecord& record : entryRecords(*file)) {
        if (!record.compressed)
            throw std::runtime_error(record.name + " is not compressed");
        stored += record.storedSize;
    }
    return stored;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 1);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 100);
    if (lzo_init() != LZO_E_OK)
        return 1;
    startReport("bench_pack");

    const std::vector<CorpusFile> files = corpusFiles(megabytes << 20);
    std::size_t contentSize = 0;
    for (const CorpusFile& file : files)
        contentSize += file.bytes.size();
    const fs::path tree = fs::path(LARKSPAN_BENCH_CACHE_DIR) / ("pack-tree-" + std::to_string(megabytes));
    const std::vector<fs::path> paths = writeTree(files, tree);
    const fs::path archive = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "pack-bench.rfa";
    std::printf("tree %s: %zu files, %zu bytes; %u cores\n", tree.c_str(), files.size(), contentSize,
                std::max(1u, std::thread::hardware_concurrency()));

    std::size_t anchorStored = 0;
    const std::vector<double> seconds = medianSeconds(
        {
            {"rfa pack --compress",
             [&] {
                 if (runProcess({LARKSPAN_RFA, "pack", (tree / "bf1942").string(), "--as", "bf1942", "--compress",
                                 "-o", archive.string()}) != 0)
                     throw std::runtime_error("rfa pack failed");
             },
             [&] { fs::remove(archive); }},
            {"lzo1x_999", [&] { anchorStored = compressWithLiblzo(paths); }},
        },
        rounds);
    const std::size_t stored = storedBytesOf(archive);
    fs::remove(archive);

    std::printf("packing (median of %d rounds, throughput in content bytes):\n", rounds);
    const std::string anchor = "read + lzo1x_999 segment by segment, one thread, ";
    printComparison("rfa pack --compress " + timeAndThroughput(seconds[0], contentSize),
                    anchor + timeAndThroughput(seconds[1], contentSize), Ratio::Time, seconds[0] / seconds[1]);
    printComparison("rfa pack --compress entries " + std::to_string(stored) + " bytes",
                    "lzo1x_999 entries " + std::to_string(anchorStored) + " bytes", Ratio::Size,
                    double(stored) / double(anchorStored), Goal::AtMost, 1.0);
    std::printf("bench_pack done: %s\n", machineLoad().c_str());
    return 0;
}
