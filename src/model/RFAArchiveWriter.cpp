#include "base/ByteOrder.h"
#include "base/Latin1.h"
#include "base/WorkerPool.h"
#include "format/MagicHeader.h"
#include "format/ParallelCompression.h"
#include "model/RFAArchive.h"
#include "model/RFATreeEnumerator.h"

namespace larkspan {

namespace {

inline constexpr std::uint8_t kRecordTrailer[12] = {0xE0, 0x21, 0x13, 0x00};
inline constexpr std::uint64_t kFirstDataOffset = 8 + kMagicHeader.size();
// Writing the compressed bytes counts for this share of compressing them:
// the progress bar moves with the time the work takes.
inline constexpr std::uint64_t kWritingShareOfCompressing = 16;

// The compressed form of every content, in order, or Cancelled.
Result<std::vector<Bytes>> compressedContents(const std::vector<SharedBytes>& data, CompressionLevel level,
                                              unsigned workers, const WriteProgress& progress)
{
    std::vector<ByteSpan> contents;
    for (const SharedBytes& bytes : data)
        contents.emplace_back(*bytes);
    std::vector<Bytes> stored(data.size());
    WorkerPool pool(workers == 0 ? defaultWorkerCount() : workers);
    const bool done = compressEntries(
        contents, level, pool, [&](std::size_t entry, Bytes bytes) { stored[entry] = std::move(bytes); },
        [&](std::uint64_t done, std::uint64_t total) {
            return !progress || progress(done, total + total / kWritingShareOfCompressing);
        });
    if (!done)
        return Error{ErrorCode::Cancelled};
    return stored;
}

} // namespace

std::vector<ArchiveEntry> RFAArchive::entries() const
{
    std::vector<ArchiveEntry> files;
    for (const RFATreeNode::Ptr& top : rootNodes_) {
        if (top->isLeaf()) {
            files.push_back({top->fullPath(), top->data()});
            continue;
        }
        RFATreeEnumerator leaves = top->leafEnumerator();
        while (RFATreeNode::Ptr file = leaves.nextObject())
            files.push_back({file->fullPath(), file->data()});
    }
    return files;
}

Result<void> writeEntries(const std::vector<ArchiveEntry>& files, const ByteSink& sink, const WriteOptions& options,
                          const WriteProgress& progress, std::vector<std::uint32_t>* storedSizes)
{
    const Error tooLarge{ErrorCode::ArchiveTooLarge};
    if (files.size() > UINT32_MAX)
        return tooLarge;
    std::vector<SharedBytes> contents;
    std::uint64_t contentTotal = 0;
    for (const ArchiveEntry& file : files) {
        contents.push_back(file.content);
        if (contents.back()->size() > UINT32_MAX)
            return tooLarge;
        contentTotal += contents.back()->size();
    }

    std::vector<Bytes> compressed;
    if (options.compression) {
        Result<std::vector<Bytes>> stored =
            compressedContents(contents, *options.compression, options.workers, progress);
        if (!stored)
            return stored.error();
        compressed = std::move(*stored);
    }
    const auto storedBytes = [&](std::size_t i) -> ByteSpan {
        return options.compression ? ByteSpan(compressed[i]) : ByteSpan(*contents[i]);
    };

    Bytes directory;
    appendLittleInt(directory, static_cast<std::uint32_t>(files.size()));
    std::uint64_t offset = kFirstDataOffset;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Bytes name = utf8ToLatin1Lossy(files[i].path);
        const std::uint64_t storedSize = storedBytes(i).size();
        if (name.size() > UINT32_MAX || storedSize > UINT32_MAX || offset > UINT32_MAX)
            return tooLarge;
        appendLittleInt(directory, static_cast<std::uint32_t>(name.size()));
        directory.insert(directory.end(), name.begin(), name.end());
        appendLittleInt(directory, static_cast<std::uint32_t>(storedSize));
        appendLittleInt(directory, static_cast<std::uint32_t>(contents[i]->size()));
        appendLittleInt(directory, static_cast<std::uint32_t>(offset));
        directory.insert(directory.end(), std::begin(kRecordTrailer), std::end(kRecordTrailer));
        offset += storedSize;
    }
    appendLittleInt(directory, 0);
    // The directory offset, and every position in the file, must fit 32 bits.
    if (offset + directory.size() > UINT32_MAX)
        return tooLarge;

    // Written bytes, as progress: after compressing, they fill the share
    // left to them; otherwise they are the whole.
    const std::uint64_t fileTotal = offset + directory.size();
    const auto report = [&](std::uint64_t written) {
        if (!progress)
            return true;
        if (!options.compression)
            return progress(written, fileTotal);
        const std::uint64_t share = contentTotal / kWritingShareOfCompressing;
        return progress(contentTotal + written * share / fileTotal, contentTotal + share);
    };

    Bytes header;
    appendLittleInt(header, static_cast<std::uint32_t>(offset));
    appendLittleInt(header, options.compression ? 1 : 0);
    header.insert(header.end(), kMagicHeader.begin(), kMagicHeader.end());
    sink(header);
    std::uint64_t written = header.size();
    for (std::size_t i = 0; i < files.size(); ++i) {
        sink(storedBytes(i));
        written += storedBytes(i).size();
        if (!report(written))
            return Error{ErrorCode::Cancelled};
    }
    sink(directory);
    if (!report(fileTotal))
        return Error{ErrorCode::Cancelled};
    if (storedSizes) {
        storedSizes->clear();
        for (std::size_t i = 0; i < files.size(); ++i)
            storedSizes->push_back(static_cast<std::uint32_t>(storedBytes(i).size()));
    }
    return {};
}

Result<void> RFAArchive::writeFileData(const ByteSink& sink, const WriteOptions& options,
                                       const WriteProgress& progress) const
{
    // The contents as they are now: the workers read them while the caller
    // may take progress reports, and a file given new content meanwhile
    // must not free the old under them.
    return writeEntries(entries(), sink, options, progress);
}

bool RFAArchive::writeFileData(const ByteSink& sink, const ProgressCallback& progress) const
{
    WriteProgress unstoppable;
    if (progress)
        unstoppable = [&progress](std::uint64_t done, std::uint64_t total) {
            progress(done, total);
            return true;
        };
    return bool(writeFileData(sink, WriteOptions{}, unstoppable));
}

std::optional<Bytes> RFAArchive::completeFileData(const WriteOptions& options) const
{
    Bytes bytes;
    // Growing by doubling would touch every byte of the archive several
    // times over: take the contents' size and a generous directory at once.
    std::uint64_t estimate = kFirstDataOffset + 8;
    for (const RFATreeNode::Ptr& top : rootNodes_)
        estimate += top->fullSize() + 160 * top->leafCount();
    if (estimate <= UINT32_MAX)
        bytes.reserve(static_cast<std::size_t>(estimate));
    const Result<void> written = writeFileData(
        [&bytes](ByteSpan piece) { bytes.insert(bytes.end(), piece.begin(), piece.end()); }, options);
    if (!written)
        return std::nullopt;
    return bytes;
}

Result<void> writeEntriesToFile(const std::filesystem::path& target, const std::vector<ArchiveEntry>& files,
                                const WriteOptions& options, const WriteProgress& progress, DiskCalls& disk,
                                std::vector<std::uint32_t>* storedSizes)
{
    Result<void> produced;
    const Result<void> saved = writeFileAtomically(
        target,
        [&](const ByteSink& sink) {
            produced = writeEntries(files, sink, options, progress, storedSizes);
            return bool(produced);
        },
        Durability::FlushEach, disk);
    if (!produced)
        return Error{produced.error().code, target.string()};
    return saved;
}

Result<void> RFAArchive::writeToFile(const std::filesystem::path& target, const WriteOptions& options,
                                     const WriteProgress& progress, DiskCalls& disk) const
{
    return writeEntriesToFile(target, entries(), options, progress, disk);
}

} // namespace larkspan
