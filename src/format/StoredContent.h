#pragma once

#include "base/Bytes.h"
#include "base/Error.h"
#include "format/ArchiveDirectory.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace larkspan {

// An entry's content while it still lies, as stored, in an archive file held
// in memory. Its length is known at once; its bytes are decoded the first
// time they are asked for, and kept. The file's bytes are shared, never read
// from disk again: the content stays what was read, whatever happens to the
// file meanwhile.
class StoredContent {
public:
    // The record's stored bytes must lie inside `file`. A compressed entry's
    // segment table is checked here, which is cheap, so that a table that
    // cannot be decoded is told at once: Decompression with the entry's name.
    static Result<std::shared_ptr<const StoredContent>> make(SharedBytes file, EntryRecord record);

    StoredContent(const StoredContent&) = delete;
    StoredContent& operator=(const StoredContent&) = delete;

    std::uint64_t length() const { return length_; }
    std::uint32_t storedSize() const { return record_.storedSize; }
    const Bytes& file() const { return *file_; }

    // The content, decoded on the first call; any thread. Decompression with
    // the entry's name when its streams do not decode (asked again, it
    // decodes again and fails the same way).
    Result<SharedBytes> content() const;
    // The content when it has been decoded; null before.
    SharedBytes decoded() const;

private:
    StoredContent(SharedBytes file, EntryRecord record, std::uint64_t length);

    SharedBytes file_;
    EntryRecord record_;
    std::uint64_t length_;
    mutable std::mutex mutex_;
    mutable SharedBytes content_;
};

} // namespace larkspan
