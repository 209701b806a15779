// Saving the opened packer-style archive (its whole content, uncompressed, as
// our writer lays it out), against copying a file of the same byte count with
// read/write through a 1 MiB buffer, in the same run. Once without any fsync
// on either side, once with one fsync on each (the document's save writes a
// temporary file, fsyncs it and renames it over the target).
//
//   bench_save [--corpus-mb=N] [--rounds=N]
//
// The files go to the build directory. Every run starts after a sync(), so
// that none inherits another's dirty pages; the copy's source stays in the
// page cache (dropping caches would need root). For comparison, the streamed
// save is also timed through a 1 MiB buffer that gathers the small entries
// into large writes, as the copy makes them.

#include "FileWriting.h"
#include "PackerArchive.h"
#include "QuietHost.h"
#include "Rounds.h"

#include "document/ArchiveDocument.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

void writeAssembled(const RFAArchive& archive, const fs::path& target, bool sync)
{
    const std::optional<Bytes> bytes = archive.completeFileData();
    if (!bytes)
        throw std::runtime_error("the archive does not fit the format");
    PlainFile file(target);
    file.write(*bytes);
    if (sync)
        file.sync();
    file.close();
}

void writeStreamed(const RFAArchive& archive, const fs::path& target)
{
    PlainFile file(target);
    if (!archive.writeFileData([&](ByteSpan piece) { file.write(piece); }))
        throw std::runtime_error("the archive does not fit the format");
    file.close();
}

void writeStreamedThroughBuffer(const RFAArchive& archive, const fs::path& target)
{
    PlainFile file(target);
    Bytes buffer;
    buffer.reserve(1 << 20);
    const bool fits = archive.writeFileData([&](ByteSpan piece) {
        if (buffer.size() + piece.size() > buffer.capacity()) {
            file.write(buffer);
            buffer.clear();
        }
        if (piece.size() >= buffer.capacity())
            file.write(piece);
        else
            buffer.insert(buffer.end(), piece.begin(), piece.end());
    });
    if (!fits)
        throw std::runtime_error("the archive does not fit the format");
    file.write(buffer);
    file.close();
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 5);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 320);
    startReport("bench_save");

    QuietHost host;
    const std::shared_ptr<ArchiveDocument> document = ArchiveDocument::create(host);
    {
        const PackerArchive packed = packerArchive(megabytes << 20, LARKSPAN_BENCH_CACHE_DIR);
        if (const Result<void> read = document->readFromData(packed.bytes, std::nullopt); !read) {
            std::fprintf(stderr, "cannot open %s: %s\n", packed.path.c_str(), describe(read.error()).text.c_str());
            return 1;
        }
    }
    const RFAArchive& archive = document->archive();

    const fs::path folder = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "save-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path saved = folder / "saved.rfa";
    const fs::path copySource = folder / "copy-source.rfa";
    const fs::path copied = folder / "copied.rfa";
    writeStreamed(archive, copySource);
    const double size = static_cast<double>(fs::file_size(copySource));
    std::printf("saving %zu entries, %.0f bytes\n", static_cast<std::size_t>(archive.leafCount()), size);

    // Each run starts with nothing dirty in the page cache.
    const auto removeSaved = [&] {
        fs::remove(saved);
        ::sync();
    };
    const auto removeCopy = [&] {
        fs::remove(copied);
        ::sync();
    };
    const std::vector<double> seconds = medianSeconds(
        {
            {"completeFileData + write", [&] { writeAssembled(archive, saved, false); }, removeSaved},
            {"writeFileData + write", [&] { writeStreamed(archive, saved); }, removeSaved},
            {"copy", [&] { copyWithReadWrite(copySource, copied, false); }, removeCopy},
            {"saveToFile", [&] {
                 if (!document->saveToFile(saved))
                     throw std::runtime_error("saveToFile failed");
             }, removeSaved},
            {"completeFileData + write + fsync", [&] { writeAssembled(archive, saved, true); }, removeSaved},
            {"copy + fsync", [&] { copyWithReadWrite(copySource, copied, true); }, removeCopy},
            {"writeFileData + 1 MiB buffer + write", [&] { writeStreamedThroughBuffer(archive, saved); }, removeSaved},
        },
        rounds);
    if (fs::file_size(saved) != fs::file_size(copySource))
        throw std::runtime_error("the saved file has another size");

    const std::string copy = "copy, read/write with a 1 MiB buffer, " + timeAndThroughput(seconds[2], size);
    const std::string copySynced = "copy + fsync, read/write with a 1 MiB buffer, " + timeAndThroughput(seconds[5], size);
    std::printf("saving, no fsync on either side (median of %d rounds):\n", rounds);
    printComparison("completeFileData + write " + timeAndThroughput(seconds[0], size), copy, Ratio::Time, seconds[0] / seconds[2],
                    Goal::AtMost, 1.5);
    printComparison("writeFileData streamed into write " + timeAndThroughput(seconds[1], size), copy, Ratio::Time,
                    seconds[1] / seconds[2], Goal::AtMost, 1.5);
    printComparison("(comparison) writeFileData gathered into 1 MiB writes " + timeAndThroughput(seconds[6], size), copy,
                    Ratio::Time, seconds[6] / seconds[2]);
    std::printf("saving, one fsync on each side (median of %d rounds):\n", rounds);
    printComparison("ArchiveDocument::saveToFile (streamed, temporary + fsync + rename) " +
                        timeAndThroughput(seconds[3], size),
                    copySynced, Ratio::Time, seconds[3] / seconds[5], Goal::AtMost, 1.5);
    printComparison("completeFileData + write + fsync " + timeAndThroughput(seconds[4], size), copySynced, Ratio::Time,
                    seconds[4] / seconds[5], Goal::AtMost, 1.5);
    fs::remove_all(folder);
    std::printf("bench_save done: %s\n", machineLoad().c_str());
    return 0;
}
