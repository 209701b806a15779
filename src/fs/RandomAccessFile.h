#pragma once

#include "base/Bytes.h"
#include "base/Error.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace larkspan {

// A file read piece by piece at chosen offsets, for files too big to hold
// whole when only a few of their bytes are wanted (an archive's directory,
// one entry). Reads never move a shared position, so one open file may
// serve several readers.
class RandomAccessFile {
public:
    // CannotRead (with the system's reason) when it cannot be opened or is
    // not a regular file.
    static Result<RandomAccessFile> open(const std::filesystem::path& path);

    RandomAccessFile(RandomAccessFile&& other) noexcept;
    RandomAccessFile& operator=(RandomAccessFile&& other) noexcept;
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;
    ~RandomAccessFile();

    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const { return size_; }

    // Fills `bytes` from `offset` on; CannotRead when the file ends first
    // or the system fails.
    Result<void> readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const;

private:
    RandomAccessFile(std::filesystem::path path, int fd, std::uint64_t size)
        : path_(std::move(path)), fd_(fd), size_(size)
    {
    }

    std::filesystem::path path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace larkspan
