#include "fs/RandomAccessFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace larkspan {

Result<RandomAccessFile> RandomAccessFile::open(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Error{ErrorCode::CannotRead, path.string(), errno};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int reason = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Error{ErrorCode::CannotRead, path.string(), reason};
    }
    return RandomAccessFile(path, fd, static_cast<std::uint64_t>(info.st_size));
}

RandomAccessFile::RandomAccessFile(RandomAccessFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_)
{
}

RandomAccessFile& RandomAccessFile::operator=(RandomAccessFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

RandomAccessFile::~RandomAccessFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Result<void> RandomAccessFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Error{ErrorCode::CannotRead, path_.string(), n < 0 ? errno : 0};
        done += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace larkspan
