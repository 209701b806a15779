#include "fs/RandomAccessFile.h"

#include "fs/NativeFiles.h"

#include <cerrno>
#include <utility>

namespace larkspan {

Result<RandomAccessFile> RandomAccessFile::open(const std::filesystem::path& path)
{
    const int fd = native::openForReading(path);
    if (fd < 0)
        return Error{ErrorCode::CannotRead, path.string(), errno};
    std::error_code error;
    const std::optional<std::uint64_t> size = native::regularFileSize(fd);
    if (!size) {
        const int reason = std::filesystem::is_directory(path, error) ? EISDIR : errno;
        native::closeFile(fd);
        return Error{ErrorCode::CannotRead, path.string(), reason};
    }
    return RandomAccessFile(path, fd, *size);
}

RandomAccessFile::RandomAccessFile(RandomAccessFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_)
{
}

RandomAccessFile& RandomAccessFile::operator=(RandomAccessFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            native::closeFile(fd_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

RandomAccessFile::~RandomAccessFile()
{
    if (fd_ >= 0)
        native::closeFile(fd_);
}

Result<void> RandomAccessFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = native::readSomeAt(fd_, bytes.data() + done, bytes.size() - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Error{ErrorCode::CannotRead, path_.string(), n < 0 ? errno : 0};
        done += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace larkspan
