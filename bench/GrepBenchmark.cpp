// `rfa grep -F -i` over an archive of the game packer's kind (compressed,
// text and binary entries) against grep -r over the same text entries
// extracted into a folder, run as processes in the same run, like against
// like: `rfa grep -l -F -i` against `grep -r -i -l -F` (both stop reading an
// entry at its first match), `rfa grep -F -i` against `grep -r -i -F` (both
// print every matching line); also the latter over the same entries in an
// uncompressed archive. Two patterns: one found in no entry (every byte is
// searched) and one found near the top of most (-l stops early). Then the
// same two kinds as regular expressions: `rfa grep -i` against
// `grep -r -i -E`, both printing every matching line.
//
//   bench_grep [--corpus-mb=N | --archive=FILE] [--rounds=N]
//
// The archive is built once and cached in the build directory, or is the
// given one; the extracted folder and the uncompressed archive are made in
// each run, untimed.

#include "ChildProcess.h"
#include "FileWriting.h"
#include "PackerArchive.h"
#include "Rounds.h"

#include "base/ByteOrder.h"
#include "fs/FileIO.h"
#include "model/EntryKind.h"

#include <cstdio>
#include <filesystem>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

bool isText(const EntryRecord& record)
{
    return isTextKind(entryKindOf(extensionOf(record.name)));
}

// The text entries as files below `folder`; their total size.
std::uint64_t extractText(const std::vector<EntryRecord>& records, const fs::path& folder)
{
    std::uint64_t total = 0;
    for (const EntryRecord& record : records) {
        if (!isText(record))
            continue;
        const Result<SharedBytes> content = entryContent(record);
        if (!content)
            throw std::runtime_error("cannot decode " + record.name);
        const fs::path target = folder / record.name;
        fs::create_directories(target.parent_path());
        PlainFile file(target);
        file.write(**content);
        file.close();
        total += (*content)->size();
    }
    return total;
}

// Every entry stored as it is, in the writer's layout.
void writeUncompressed(const std::vector<EntryRecord>& records, const fs::path& path)
{
    PlainFile file(path);
    Bytes head(8, 0), directory;
    std::vector<SharedBytes> contents;
    std::uint64_t offset = 8;
    directory.reserve(4 + records.size() * 96);
    appendLittleInt(directory, static_cast<std::uint32_t>(records.size()));
    for (const EntryRecord& record : records) {
        contents.push_back(*entryContent(record));
        const auto size = static_cast<std::uint32_t>(contents.back()->size());
        appendPlainRecord(directory, record.name, size, static_cast<std::uint32_t>(offset));
        offset += size;
    }
    replaceBytesInRange(head, 0, static_cast<std::uint32_t>(offset));
    file.write(head);
    for (const SharedBytes& content : contents)
        file.write(*content);
    file.write(directory);
    file.close();
}

std::function<void()> process(std::vector<std::string> argv)
{
    return [argv] {
        // grep's convention: 1 is "nothing found", not a failure.
        if (const int status = runProcess(argv, "/dev/null", {"LC_ALL=C.UTF-8"}); status != 0 && status != 1)
            throw std::runtime_error(argv[0] + " failed");
    };
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 3);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 320);
    const std::string given = takeTextFlag(argc, argv, "archive", "");
    startReport("bench_grep");

    PackerArchive archive;
    if (given.empty()) {
        archive = packerArchive(megabytes << 20, LARKSPAN_BENCH_CACHE_DIR);
    } else {
        Result<Bytes> bytes = readWholeFile(given);
        if (!bytes)
            throw std::runtime_error("cannot read " + given);
        archive = {given, std::move(*bytes)};
    }
    const std::vector<EntryRecord> records = entryRecords(archive.bytes);
    const fs::path work = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "grep-bench";
    fs::remove_all(work);
    const std::uint64_t textBytes = extractText(records, work / "extracted");
    const fs::path raw = work / "uncompressed.rfa";
    writeUncompressed(records, raw);
    std::size_t textEntries = 0;
    for (const EntryRecord& record : records)
        textEntries += isText(record) ? 1 : 0;
    std::printf("archive %s: %zu bytes, %zu entries, %zu of them text (%llu bytes); uncompressed copy %ju bytes\n",
                archive.path.c_str(), archive.bytes.size(), records.size(), textEntries,
                static_cast<unsigned long long>(textBytes), fs::file_size(raw));

    const std::string folder = (work / "extracted").string();
    const std::string packed = archive.path.string();
    for (const std::string pattern : {"Spitfire airframe", "copyright"}) {
        const std::vector<double> seconds = medianSeconds(
            {
                {"grep -l", process({"grep", "-r", "-i", "-l", "-F", pattern, folder})},
                {"grep", process({"grep", "-r", "-i", "-F", pattern, folder})},
                {"rfa grep -l", process({LARKSPAN_RFA, "grep", "-F", "-i", "-l", pattern, packed})},
                {"rfa grep", process({LARKSPAN_RFA, "grep", "-F", "-i", pattern, packed})},
                {"rfa grep raw", process({LARKSPAN_RFA, "grep", "-F", "-i", pattern, raw.string()})},
            },
            rounds);
        std::printf("pattern \"%s\" (median of %d rounds, throughput in text bytes):\n", pattern.c_str(), rounds);
        const std::string namesAnchor =
            "grep -r -i -l -F over the extracted text " + timeAndThroughput(seconds[0], textBytes);
        const std::string linesAnchor = "grep -r -i -F over the extracted text " + timeAndThroughput(seconds[1], textBytes);
        printComparison("rfa grep -F -i -l " + timeAndThroughput(seconds[2], textBytes), namesAnchor, Ratio::Speed,
                        seconds[0] / seconds[2], Goal::AtLeast, 1.5);
        printComparison("rfa grep -F -i " + timeAndThroughput(seconds[3], textBytes), linesAnchor, Ratio::Speed,
                        seconds[1] / seconds[3], Goal::AtLeast, 1.5);
        printComparison("rfa grep -F -i, uncompressed archive " + timeAndThroughput(seconds[4], textBytes),
                        linesAnchor, Ratio::Speed, seconds[1] / seconds[4]);
    }
    // Valid, and alike in meaning, as ECMAScript and as POSIX extended expressions.
    for (const std::string pattern : {"ObjectTemplate\\.create +PlaneAirframe", "copyright +\\(c\\) +[0-9]+"}) {
        const std::vector<double> seconds = medianSeconds(
            {
                {"grep -E", process({"grep", "-r", "-i", "-E", pattern, folder})},
                {"rfa grep", process({LARKSPAN_RFA, "grep", "-i", pattern, packed})},
            },
            rounds);
        std::printf("expression \"%s\" (median of %d rounds, throughput in text bytes):\n", pattern.c_str(), rounds);
        printComparison("rfa grep -i " + timeAndThroughput(seconds[1], textBytes),
                        "grep -r -i -E over the extracted text " + timeAndThroughput(seconds[0], textBytes),
                        Ratio::Speed, seconds[0] / seconds[1]);
    }
    fs::remove_all(work);
    std::printf("bench_grep done: %s\n", machineLoad().c_str());
    return 0;
}
