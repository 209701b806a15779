#include "base/ByteOrder.h"
#include "format/MagicHeader.h"
#include "model/RFAArchive.h"
#include "base/Latin1.h"
#include "model/RFATreeEnumerator.h"

namespace larkspan {

namespace {

inline constexpr std::uint8_t kRecordTrailer[12] = {0xE0, 0x21, 0x13, 0x00};
inline constexpr std::uint64_t kFirstDataOffset = 8 + kMagicHeader.size();

// Every file the writer stores, in the order it stores them: the top-level
// nodes in order, each walked depth first.
std::vector<RFATreeNode::Ptr> filesToWrite(const std::vector<RFATreeNode::Ptr>& rootNodes)
{
    std::vector<RFATreeNode::Ptr> files;
    for (const RFATreeNode::Ptr& top : rootNodes) {
        if (top->isLeaf()) {
            files.push_back(top);
            continue;
        }
        RFATreeEnumerator leaves = top->leafEnumerator();
        while (RFATreeNode::Ptr file = leaves.nextObject())
            files.push_back(std::move(file));
    }
    return files;
}

} // namespace

bool RFAArchive::writeFileData(const ByteSink& sink, const ProgressCallback& progress) const
{
    const std::vector<RFATreeNode::Ptr> files = filesToWrite(rootNodes_);
    if (files.size() > UINT32_MAX)
        return false;

    Bytes directory;
    appendLittleInt(directory, static_cast<std::uint32_t>(files.size()));
    std::uint64_t offset = kFirstDataOffset;
    for (const RFATreeNode::Ptr& file : files) {
        const Bytes name = utf8ToLatin1Lossy(file->fullPath());
        const std::uint64_t size = file->data()->size();
        if (name.size() > UINT32_MAX || size > UINT32_MAX || offset > UINT32_MAX)
            return false;
        appendLittleInt(directory, static_cast<std::uint32_t>(name.size()));
        directory.insert(directory.end(), name.begin(), name.end());
        appendLittleInt(directory, static_cast<std::uint32_t>(size));
        appendLittleInt(directory, static_cast<std::uint32_t>(size));
        appendLittleInt(directory, static_cast<std::uint32_t>(offset));
        directory.insert(directory.end(), std::begin(kRecordTrailer), std::end(kRecordTrailer));
        offset += size;
    }
    appendLittleInt(directory, 0);
    // The directory offset, and every position in the file, must fit 32 bits.
    if (offset + directory.size() > UINT32_MAX)
        return false;

    Bytes header;
    appendLittleInt(header, static_cast<std::uint32_t>(offset));
    appendLittleInt(header, 0);
    header.insert(header.end(), kMagicHeader.begin(), kMagicHeader.end());
    sink(header);
    std::uint64_t written = header.size();
    const std::uint64_t total = offset + directory.size();
    for (const RFATreeNode::Ptr& file : files) {
        sink(*file->data());
        written += file->data()->size();
        if (progress)
            progress(written, total);
    }
    sink(directory);
    if (progress)
        progress(total, total);
    return true;
}

std::optional<Bytes> RFAArchive::completeFileData() const
{
    Bytes bytes;
    // Growing by doubling would touch every byte of the archive several
    // times over: take the contents' size and a generous directory at once.
    std::uint64_t estimate = kFirstDataOffset + 8;
    for (const RFATreeNode::Ptr& top : rootNodes_)
        estimate += top->fullSize() + 160 * top->leafCount();
    if (estimate <= UINT32_MAX)
        bytes.reserve(static_cast<std::size_t>(estimate));
    const bool fits = writeFileData([&bytes](ByteSpan piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    });
    if (!fits)
        return std::nullopt;
    return bytes;
}

} // namespace larkspan
