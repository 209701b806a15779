// Opening a generated mod of many big archives (by default 100 archives,
// 1 GiB, half of them update archives that override half of their base's
// entries): ModIndex::open, which reads the directories alone, against an
// anchor in the same run that only reads each archive's directory bytes
// (open, read the header, read from the directory offset to the end) without
// parsing or indexing them. Then its peak memory in a fresh process, against
// the goal of 64 MiB plus the names.
//
//   bench_mod_open [--archives=N] [--mb=N] [--rounds=N]
//
// The mod (uncompressed archives) is generated once into the build
// directory and kept; the first run takes the disk time of writing it.

#include "ChildProcess.h"
#include "FileWriting.h"
#include "Rounds.h"

#include "base/ByteOrder.h"
#include "mod/ArchiveListing.h"
#include "fs/RandomAccessFile.h"
#include "mod/ModIndex.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

constexpr std::size_t kEntrySize = 10 * 1024;

std::string archiveName(std::size_t index, std::size_t archives)
{
    const std::size_t bases = (archives + 1) / 2;
    char name[64];
    if (index < bases)
        std::snprintf(name, sizeof name, "bf1942/pack%03zu.rfa", index);
    else
        std::snprintf(name, sizeof name, "bf1942/pack%03zu_001.rfa", index - bases);
    return name;
}

std::string entryName(std::size_t family, std::size_t entry)
{
    char name[96];
    std::snprintf(name, sizeof name, "bf1942/objects/pack%03zu/folder%02zu/entry%05zu.con", family, entry / 100, entry);
    return name;
}

// One uncompressed archive in the writer's layout: data, then the directory.
void writeArchive(const fs::path& path, std::size_t family, std::size_t entries, std::uint8_t fill)
{
    fs::create_directories(path.parent_path());
    Bytes head(8, 0);
    const std::uint64_t directoryOffset = 8 + std::uint64_t(entries) * kEntrySize;
    replaceBytesInRange(head, 0, static_cast<std::uint32_t>(directoryOffset));
    PlainFile file(path);
    file.write(head);
    Bytes content(kEntrySize);
    for (std::size_t i = 0; i < entries; ++i) {
        std::memset(content.data(), 'a' + (i + fill) % 26, content.size());
        file.write(content);
    }
    Bytes directory;
    directory.reserve(4 + entries * 96);
    appendLittleInt(directory, static_cast<std::uint32_t>(entries));
    for (std::size_t i = 0; i < entries; ++i)
        appendPlainRecord(directory, entryName(family, i), kEntrySize, static_cast<std::uint32_t>(8 + i * kEntrySize));
    file.write(directory);
    file.close();
}

// The mod folder, generated unless a complete one is there.
fs::path generatedMod(std::size_t archives, std::size_t megabytes)
{
    const fs::path game = fs::path(LARKSPAN_BENCH_CACHE_DIR) /
                          ("mod-bench-" + std::to_string(archives) + "-" + std::to_string(megabytes));
    const fs::path mod = game / "Mods" / "Big";
    const fs::path complete = game / "complete";
    if (fs::exists(complete))
        return mod;
    fs::remove_all(game);
    const std::size_t bases = (archives + 1) / 2;
    // Bases hold N entries, updates N / 2: together the size asked for.
    const std::size_t perArchive = (megabytes << 20) / kEntrySize * 2 / (2 * bases + (archives - bases));
    std::printf("generating %zu archives of %zu entries into %s ...\n", archives, perArchive, mod.c_str());
    for (std::size_t i = 0; i < archives; ++i) {
        const bool update = i >= bases;
        // An update holds the first half of its base's entries, changed.
        writeArchive(mod / "Archives" / archiveName(i, archives), update ? i - bases : i,
                     update ? perArchive / 2 : perArchive, update ? 1 : 0);
    }
    std::ofstream(mod / "init.con") << "game.addModPath Mods/Big/\r\n";
    std::ofstream(complete) << "done\n";
    return mod;
}

std::vector<fs::path> archivesOf(const fs::path& mod)
{
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(mod / "Archives"))
        if (entry.is_regular_file())
            found.push_back(entry.path());
    return found;
}

// The least an opener of directories must do: read their bytes.
std::uint64_t readDirectoryBytes(const std::vector<fs::path>& archives)
{
    std::uint64_t total = 0;
    Bytes head(8), directory;
    for (const fs::path& path : archives) {
        const Result<RandomAccessFile> file = RandomAccessFile::open(path);
        if (!file || !file->readAt(0, head))
            throw std::runtime_error("cannot read " + path.string());
        const std::uint64_t offset = littleIntAtPosition(head, 0);
        directory.resize(file->size() - offset);
        if (!file->readAt(offset, directory))
            throw std::runtime_error("cannot read " + path.string());
        total += directory.size();
    }
    return total;
}

int openChild(const char* mod)
{
    const Result<ModIndex> index = ModIndex::open(mod);
    if (!index)
        return 1;
    std::uint64_t names = 0;
    for (const ModArchive& archive : index->archives())
        for (const RecordFields& record : archive.listing->records())
            names += record.name.size();
    // On a loaded machine the wall clock counts the waits for a core too.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%ld %llu %zu %f\n", peakResidentKiB(), static_cast<unsigned long long>(names),
                index->entries().size(), cpu);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--open-child") == 0)
        return openChild(argv[2]);
    const int rounds = takeRounds(argc, argv, 5);
    const std::size_t archives = takeSizeFlag(argc, argv, "archives", 100);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "mb", 1024);
    startReport("bench_mod_open");

    const fs::path mod = generatedMod(archives, megabytes);
    const std::vector<fs::path> files = archivesOf(mod);
    std::uintmax_t onDisk = 0;
    for (const fs::path& file : files)
        onDisk += fs::file_size(file);
    std::printf("mod %s: %zu archives, %ju bytes\n", mod.c_str(), files.size(), onDisk);

    std::optional<ModIndex> index;
    std::uint64_t directoryBytes = 0;
    const std::vector<double> seconds = medianSeconds(
        {
            {"ModIndex::open", [&] { index.emplace(std::move(*ModIndex::open(mod))); }, [&] { index.reset(); }},
            {"directory bytes", [&] { directoryBytes = readDirectoryBytes(files); }},
        },
        rounds);
    if (!index || index->archives().size() != files.size()) {
        std::fprintf(stderr, "the mod did not open\n");
        return 1;
    }
    std::printf("opening (median of %d rounds): %zu entries seen, %llu directory bytes\n", rounds,
                index->entries().size(), static_cast<unsigned long long>(directoryBytes));
    index.reset();
    printComparison("ModIndex::open " + milliseconds(seconds[0]),
                    "reading the directory bytes alone " + milliseconds(seconds[1]), Ratio::Time,
                    seconds[0] / seconds[1]);
    printComparison("ModIndex::open " + milliseconds(seconds[0]), "goal 1 s", Ratio::Time, seconds[0] / 1.0,
                    Goal::AtMost, 1.0);

    const std::string report = std::string(LARKSPAN_BENCH_CACHE_DIR) + "/mod-open-peak.txt";
    if (runProcess({selfExecutable(), "--open-child", mod.string()}, report) != 0) {
        std::fprintf(stderr, "opening in a fresh process failed\n");
        return 1;
    }
    long peakKiB = 0;
    unsigned long long names = 0;
    std::size_t entries = 0;
    double cpuSeconds = 0;
    std::ifstream(report) >> peakKiB >> names >> entries >> cpuSeconds;
    fs::remove(report);
    const double goalMiB = 64 + names / double(1 << 20);
    std::printf("in a fresh process: %zu entries, %s of processor time (user + system, whole process)\n",
                entries, milliseconds(cpuSeconds).c_str());
    std::printf("peak memory of opening in a fresh process (VmHWM): %.1f MiB\n", peakKiB / 1024.0);
    printComparison("ModIndex::open peak " + std::to_string(peakKiB / 1024) + " MiB",
                    "goal 64 MiB + names (" + std::to_string(names >> 20) + " MiB) = " +
                        std::to_string(static_cast<long>(goalMiB)) + " MiB",
                    Ratio::Size, peakKiB / 1024.0 / goalMiB, Goal::AtMost, 1.0);
    std::printf("bench_mod_open done: %s\n", machineLoad().c_str());
    return 0;
}
