// `rfa extract` of the packer-style archive into a fresh folder, run as a
// process, against an extraction written here with liblzo2: read the file,
// decode each entry with lzo1x_decompress_safe, write each file with plain
// open/write/close into the same layout. The product writes every file
// atomically (temporary, rename) and flushes the file system once at the
// end; the same extraction with an fsync per file, and the product under
// eatmydata (flushes made no-ops) when /usr/bin/eatmydata is there, show
// what flushing costs.
//
//   bench_extract [--corpus-mb=N] [--rounds=N]
//
// Every run starts after a sync(), into a folder in the build directory that
// is removed beforehand (untimed).

#include "ChildProcess.h"
#include "FileWriting.h"
#include "PackerArchive.h"
#include "Rounds.h"

#include "fs/FileIO.h"

#include <lzo/lzo1x.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

void extractWithLiblzo(const fs::path& archive, const fs::path& folder, bool sync)
{
    const Result<Bytes> file = readWholeFile(archive);
    if (!file)
        throw std::runtime_error("cannot read " + archive.string());
    std::set<fs::path> madeFolders;
    Bytes content;
    for (const EntryRecord& record : entryRecords(*file)) {
        const fs::path target = folder / record.name;
        if (madeFolders.insert(target.parent_path()).second)
            fs::create_directories(target.parent_path());
        ByteSpan bytes = record.stored;
        if (record.compressed) {
            content.resize(record.size);
            std::size_t at = 0;
            for (const StoredSegment& segment : storedSegments(record)) {
                lzo_uint produced = segment.size;
                if (at + segment.size > content.size() ||
                    lzo1x_decompress_safe(segment.stream.data(), segment.stream.size(), content.data() + at,
                                          &produced, nullptr) != LZO_E_OK ||
                    produced != segment.size)
                    throw std::runtime_error("liblzo2 cannot decode " + record.name);
                at += segment.size;
            }
            bytes = ByteSpan(content.data(), at);
        }
        PlainFile out(target);
        out.write(bytes);
        if (sync)
            out.sync();
        out.close();
    }
}

struct TreeSummary {
    std::size_t files = 0;
    std::uintmax_t bytes = 0;
    bool operator==(const TreeSummary&) const = default;
};

TreeSummary summarize(const fs::path& folder)
{
    TreeSummary summary;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            ++summary.files;
            summary.bytes += entry.file_size();
        }
    return summary;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 5);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 320);
    if (lzo_init() != LZO_E_OK)
        return 1;
    startReport("bench_extract");

    const PackerArchive archive = packerArchive(megabytes << 20, LARKSPAN_BENCH_CACHE_DIR);
    const std::size_t entries = entryRecords(archive.bytes).size();
    std::printf("extracting %s: %zu bytes, %zu entries\n", archive.path.c_str(), archive.bytes.size(), entries);

    const fs::path root = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "extract-bench";
    const fs::path byRfa = root / "rfa", byRfaUnsynced = root / "rfa-eatmydata";
    const fs::path byLiblzo = root / "liblzo2", byLiblzoSynced = root / "liblzo2-fsync";
    fs::remove_all(root);
    const auto freshFolder = [](const fs::path& folder) {
        return [folder] {
            fs::remove_all(folder);
            ::sync();
        };
    };
    const auto runRfa = [&](std::vector<std::string> prefix, const fs::path& folder) {
        prefix.insert(prefix.end(), {LARKSPAN_RFA, "extract", archive.path.string(), "-C", folder.string()});
        return [prefix] {
            if (runProcess(prefix) != 0)
                throw std::runtime_error("rfa extract failed");
        };
    };
    const bool haveEatmydata = fs::exists("/usr/bin/eatmydata");
    std::vector<TimedTask> tasks = {
        {"rfa extract", runRfa({}, byRfa), freshFolder(byRfa)},
        {"liblzo2", [&] { extractWithLiblzo(archive.path, byLiblzo, false); }, freshFolder(byLiblzo)},
        {"liblzo2 + fsync", [&] { extractWithLiblzo(archive.path, byLiblzoSynced, true); }, freshFolder(byLiblzoSynced)},
    };
    if (haveEatmydata)
        tasks.push_back({"eatmydata rfa extract", runRfa({"/usr/bin/eatmydata"}, byRfaUnsynced), freshFolder(byRfaUnsynced)});
    const std::vector<double> seconds = medianSeconds(tasks, rounds);

    const TreeSummary written = summarize(byRfa);
    if (!(written == summarize(byLiblzo)) || written.files != entries) {
        std::fprintf(stderr, "the extractions differ: rfa wrote %zu files\n", written.files);
        return 1;
    }
    const double size = static_cast<double>(written.bytes);
    std::printf("extraction of %zu files, %.0f bytes (median of %d rounds):\n", written.files, size, rounds);
    const std::string anchor = "liblzo2 + open/write/close " + timeAndThroughput(seconds[1], size);
    const std::string syncedAnchor = "liblzo2 + open/write/fsync/close " + timeAndThroughput(seconds[2], size);
    printComparison("rfa extract " + timeAndThroughput(seconds[0], size), anchor, Ratio::Time, seconds[0] / seconds[1]);
    printComparison("rfa extract " + timeAndThroughput(seconds[0], size), syncedAnchor, Ratio::Time, seconds[0] / seconds[2]);
    if (haveEatmydata)
        printComparison("eatmydata rfa extract (fsync a no-op) " + timeAndThroughput(seconds[3], size), anchor,
                        Ratio::Time, seconds[3] / seconds[1]);
    else
        std::printf("  (no /usr/bin/eatmydata: the product without fsync is not measured)\n");
    fs::remove_all(root);
    std::printf("bench_extract done: %s\n", machineLoad().c_str());
    return 0;
}
