#include "format/StoredContent.h"

#include "format/RFADecompression.h"

namespace larkspan {

Result<std::shared_ptr<const StoredContent>> StoredContent::make(SharedBytes file, EntryRecord record)
{
    std::uint64_t length = record.stored.size();
    if (record.decoded) {
        length = record.decoded->size();
    } else if (record.compressed) {
        const std::optional<std::uint64_t> declared = decompressedLengthOfData(record.stored, record.size);
        if (!declared)
            return Error{ErrorCode::Decompression, record.name};
        length = *declared;
    }
    return std::shared_ptr<const StoredContent>(new StoredContent(std::move(file), std::move(record), length));
}

StoredContent::StoredContent(SharedBytes file, EntryRecord record, std::uint64_t length)
    : file_(std::move(file)), record_(std::move(record)), length_(length)
{
}

Result<SharedBytes> StoredContent::content() const
{
    const std::lock_guard lock(mutex_);
    if (!content_) {
        Result<SharedBytes> decoded = entryContent(record_);
        if (!decoded)
            return decoded;
        content_ = std::move(*decoded);
    }
    return content_;
}

SharedBytes StoredContent::decoded() const
{
    const std::lock_guard lock(mutex_);
    return content_;
}

} // namespace larkspan
