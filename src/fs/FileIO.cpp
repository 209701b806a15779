#include "fs/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace larkspan {

namespace {

Error systemError(ErrorCode code, const std::filesystem::path& path)
{
    return {code, path.string(), errno};
}

} // namespace

Result<Bytes> readWholeFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(ErrorCode::CannotRead, path);
    Bytes bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::uint8_t chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const Error failed = systemError(ErrorCode::CannotRead, path);
            ::close(fd);
            return failed;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

ssize_t DiskCalls::write(int fd, const void* bytes, std::size_t size)
{
    return ::write(fd, bytes, size);
}

int DiskCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int DiskCalls::rename(const char* from, const char* to)
{
    return ::rename(from, to);
}

int DiskCalls::syncfs(int fd)
{
#ifdef __linux__
    return ::syncfs(fd);
#else
    (void)fd;
    ::sync();
    return 0;
#endif
}

DiskCalls& realDisk()
{
    static DiskCalls real;
    return real;
}

namespace {

// Longest file name the file systems we run on accept (NAME_MAX of Linux,
// macOS and Windows alike).
constexpr std::size_t kLongestFileName = 255;

// A hidden name beside the target for the temporary, within the longest
// file name even when the target's own name is already that long.
std::string temporaryPattern(const std::filesystem::path& target)
{
    static constexpr std::string_view kSuffix = ".tmp-XXXXXX";
    std::string name = target.filename().string();
    name.resize(std::min(name.size(), kLongestFileName - kSuffix.size() - 1));
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    return (folder / ("." + name + std::string(kSuffix))).string();
}

// The temporary file of one atomic write: removed again unless it has
// taken the target's name.
class TemporaryFile {
public:
    TemporaryFile(const std::filesystem::path& target, DiskCalls& disk)
        : disk_(disk), pattern_(temporaryPattern(target))
    {
        fd_ = ::mkostemp(pattern_.data(), O_CLOEXEC);
        if (fd_ < 0)
            pattern_.clear();
    }
    ~TemporaryFile()
    {
        const int saved = errno;
        if (fd_ >= 0)
            ::close(fd_);
        if (!pattern_.empty() && !renamed_)
            ::unlink(pattern_.c_str());
        errno = saved;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return fd_ >= 0; }
    std::filesystem::path path() const { return pattern_; }
    bool setMode(mode_t mode) { return ::fchmod(fd_, mode) == 0; }

    // False, with errno set, when not every byte could be written.
    bool write(ByteSpan bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = disk_.write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = EIO;
                return false;
            }
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool sync() { return disk_.fsync(fd_) == 0; }

    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool renameTo(const std::filesystem::path& target)
    {
        renamed_ = disk_.rename(pattern_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    DiskCalls& disk_;
    std::string pattern_;
    int fd_ = -1;
    bool renamed_ = false;
};

// The mode a new file gets from open(2): 0666 less the umask.
mode_t modeForNewFile()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes a finished rename survive a power cut. Best effort: the new
// content is already complete under the target's name.
void syncFolder(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

Result<void> writeFileAtomically(const std::filesystem::path& target,
                                 const std::function<bool(const ByteSink&)>& produce, Durability durability,
                                 DiskCalls& disk)
{
    TemporaryFile temporary(target, disk);
    if (!temporary.opened())
        return systemError(ErrorCode::CannotOpen, target);

    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : modeForNewFile();
    if (!temporary.setMode(mode))
        return systemError(ErrorCode::CannotWrite, temporary.path());

    bool writeFailed = false;
    int writeErrno = 0;
    const bool finished = produce([&](ByteSpan piece) {
        if (!writeFailed && !temporary.write(piece)) {
            writeFailed = true;
            writeErrno = errno;
        }
    });
    if (!finished)
        return Error{ErrorCode::Cancelled, target.string()};
    if (writeFailed) {
        errno = writeErrno;
        return systemError(ErrorCode::CannotWrite, target);
    }
    const bool flush = durability == Durability::FlushEach;
    if ((flush && !temporary.sync()) || !temporary.close())
        return systemError(ErrorCode::CannotWrite, target);
    if (!temporary.renameTo(target))
        return systemError(ErrorCode::CannotReplace, target);
    if (flush)
        syncFolder(target);
    return {};
}

Result<void> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes, Durability durability,
                                 DiskCalls& disk)
{
    return writeFileAtomically(
        target,
        [bytes](const ByteSink& sink) {
            sink(bytes);
            return true;
        },
        durability, disk);
}

bool syncFileSystemOf(const std::filesystem::path& path, DiskCalls& disk)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = disk.syncfs(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace larkspan
