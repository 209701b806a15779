// `rfa extract` of a compressed archive into a fresh folder, run as a
// process, against an extraction written here with liblzo2: read the file,
// decode each entry with lzo1x_decompress_safe, write each file with plain
// open/write/close into the same layout, one after another.
//
//   bench_extract [--corpus-mb=N | --archive=FILE.rfa] [--rfa=PROGRAM] [--rounds=N]
//
// Without --archive the packer-style archive of the corpus is extracted;
// --rfa measures another build of the tool (an older one, say).
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

void extractWithLiblzo(const fs::path& archive, const fs::path& folder)
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
    const std::string given = takeTextFlag(argc, argv, "archive", "");
    const std::string rfa = takeTextFlag(argc, argv, "rfa", LARKSPAN_RFA);
    if (lzo_init() != LZO_E_OK)
        return 1;
    startReport("bench_extract");

    const fs::path archive =
        given.empty() ? packerArchive(megabytes << 20, LARKSPAN_BENCH_CACHE_DIR).path : fs::path(given);
    const Result<Bytes> archiveBytes = readWholeFile(archive);
    if (!archiveBytes) {
        std::fprintf(stderr, "cannot read %s\n", archive.c_str());
        return 1;
    }
    const std::size_t entries = entryRecords(*archiveBytes).size();
    std::printf("extracting %s: %zu bytes, %zu entries\n", archive.c_str(), archiveBytes->size(), entries);

    const fs::path root = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "extract-bench";
    const fs::path byRfa = root / "rfa", byLiblzo = root / "liblzo2";
    fs::remove_all(root);
    const auto freshFolder = [](const fs::path& folder) {
        return [folder] {
            fs::remove_all(folder);
            ::sync();
        };
    };
    const std::vector<TimedTask> tasks = {
        {"rfa extract",
         [&] {
             if (runProcess({rfa, "extract", archive.string(), "-C", byRfa.string()}) != 0)
                 throw std::runtime_error("rfa extract failed");
         },
         freshFolder(byRfa)},
        {"liblzo2", [&] { extractWithLiblzo(archive, byLiblzo); }, freshFolder(byLiblzo)},
    };
    const std::vector<double> seconds = medianSeconds(tasks, rounds);

    const TreeSummary written = summarize(byRfa);
    if (!(written == summarize(byLiblzo)) || written.files != entries) {
        std::fprintf(stderr, "the extractions differ: rfa wrote %zu files\n", written.files);
        return 1;
    }
    const double size = static_cast<double>(written.bytes);
    std::printf("extraction of %zu files, %.0f bytes (median of %d rounds):\n", written.files, size, rounds);
    printComparison("rfa extract " + timeAndThroughput(seconds[0], size),
                    "liblzo2 + open/write/close " + timeAndThroughput(seconds[1], size), Ratio::Speed,
                    seconds[1] / seconds[0], Goal::AtLeast, 1.0);
    fs::remove_all(root);
    std::printf("bench_extract done: %s\n", machineLoad().c_str());
    return 0;
}
