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

FileError systemError(FileFailure failure, const std::filesystem::path& path)
{
    return {failure, path.string() + ": " + std::strerror(errno)};
}

} // namespace

std::optional<Bytes> readWholeFile(const std::filesystem::path& path, FileError* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = systemError(FileFailure::Open, path);
        return std::nullopt;
    }
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
            if (error)
                *error = systemError(FileFailure::Read, path);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

namespace {

thread_local FileWriteFaults* tFaults = nullptr;

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
// taken the target's name. Every system call it makes can be failed
// through the test seam.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target) : pattern_(temporaryPattern(target))
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
            const ssize_t n = faultableWrite(bytes);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = EIO;
                return false;
            }
            written_ += static_cast<std::uint64_t>(n);
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool sync()
    {
        if (tFaults && tFaults->syncFails) {
            errno = EIO;
            return false;
        }
        return ::fsync(fd_) == 0;
    }

    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool renameTo(const std::filesystem::path& target)
    {
        if (tFaults && tFaults->renameFails) {
            errno = EIO;
            return false;
        }
        renamed_ = ::rename(pattern_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    // A short write first, as a filling disk gives, then ENOSPC.
    ssize_t faultableWrite(ByteSpan bytes)
    {
        std::size_t size = bytes.size();
        if (tFaults && tFaults->writeFailsAfter) {
            const std::uint64_t limit = *tFaults->writeFailsAfter;
            if (written_ >= limit) {
                errno = ENOSPC;
                return -1;
            }
            size = static_cast<std::size_t>(std::min<std::uint64_t>(size, limit - written_));
        }
        return ::write(fd_, bytes.data(), size);
    }

    std::string pattern_;
    int fd_ = -1;
    std::uint64_t written_ = 0;
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

ScopedFileWriteFaults::ScopedFileWriteFaults(FileWriteFaults faults)
    : faults_(std::move(faults)), previous_(tFaults)
{
    tFaults = &faults_;
}

ScopedFileWriteFaults::~ScopedFileWriteFaults()
{
    tFaults = previous_;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             const std::function<bool(const ByteSink&)>& produce,
                                             Durability durability)
{
    TemporaryFile temporary(target);
    if (!temporary.opened())
        return systemError(FileFailure::Open, target);

    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : modeForNewFile();
    if (!temporary.setMode(mode))
        return systemError(FileFailure::Write, temporary.path());

    bool writeFailed = false;
    int writeErrno = 0;
    const bool finished = produce([&](ByteSpan piece) {
        if (!writeFailed && !temporary.write(piece)) {
            writeFailed = true;
            writeErrno = errno;
        }
    });
    if (!finished)
        return FileError{FileFailure::Aborted, target.string() + ": nothing written"};
    if (writeFailed) {
        errno = writeErrno;
        return systemError(FileFailure::Write, target);
    }
    const bool flush = durability == Durability::FlushEach;
    if ((flush && !temporary.sync()) || !temporary.close())
        return systemError(FileFailure::Write, target);
    if (!temporary.renameTo(target))
        return systemError(FileFailure::Rename, target);
    if (flush)
        syncFolder(target);
    return std::nullopt;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes,
                                             Durability durability)
{
    return writeFileAtomically(
        target,
        [bytes](const ByteSink& sink) {
            sink(bytes);
            return true;
        },
        durability);
}

bool syncFileSystemOf(const std::filesystem::path& path)
{
    if (tFaults && tFaults->syncFails)
        return false;
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
#else
    (void)path;
    ::sync();
    return true;
#endif
}

} // namespace larkspan
