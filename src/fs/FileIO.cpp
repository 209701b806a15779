#include "fs/FileIO.h"

#include "fs/NativeFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace larkspan {

namespace {

Error systemError(ErrorCode code, const std::filesystem::path& path)
{
    return {code, path.string(), errno};
}

} // namespace

Result<Bytes> readWholeFile(const std::filesystem::path& path)
{
    const int fd = native::openForReading(path);
    if (fd < 0)
        return systemError(ErrorCode::CannotRead, path);
    // A read that a signal interrupted is tried again.
    const auto readSome = [fd](void* into, std::size_t count) {
        ssize_t n = 0;
        do
            n = native::readSome(fd, into, count);
        while (n < 0 && errno == EINTR);
        return n;
    };
    Bytes bytes;
    ssize_t n = 0;
    if (const std::optional<std::uint64_t> size = native::regularFileSize(fd)) {
        // Straight into the buffer: one copy, and, for a big file, few page
        // faults. A file that shrinks meanwhile ends early; one that grows
        // goes on below.
        bytes.reserve(static_cast<std::size_t>(*size));
        native::adviseLargePages(bytes.data(), bytes.capacity());
        bytes.resize(static_cast<std::size_t>(*size));
        std::size_t done = 0;
        while (done < bytes.size() && (n = readSome(bytes.data() + done, bytes.size() - done)) > 0)
            done += static_cast<std::size_t>(n);
        bytes.resize(done);
    }
    std::uint8_t chunk[1 << 16];
    while (n >= 0 && (n = readSome(chunk, sizeof chunk)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    if (n < 0) {
        const Error failed = systemError(ErrorCode::CannotRead, path);
        native::closeFile(fd);
        return failed;
    }
    native::closeFile(fd);
    return bytes;
}

ssize_t DiskCalls::write(int fd, const void* bytes, std::size_t size)
{
    return native::writeSome(fd, bytes, size);
}

int DiskCalls::fsync(int fd)
{
    return native::flushFile(fd);
}

int DiskCalls::rename(const std::filesystem::path::value_type* from, const std::filesystem::path::value_type* to)
{
    return native::replaceFile(from, to);
}

int DiskCalls::syncfs(int fd)
{
    return native::flushFileSystem(fd);
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
native::PathString temporaryPattern(const std::filesystem::path& target)
{
    static constexpr std::string_view kSuffix = ".tmp-XXXXXX";
    native::PathString name = target.filename().native();
    name.resize(std::min(name.size(), kLongestFileName - kSuffix.size() - 1));
    name.insert(name.begin(), '.');
    name.append(kSuffix.begin(), kSuffix.end());
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    return (folder / name).native();
}

// False, with errno set, when not every byte could be written.
bool writeEverything(DiskCalls& disk, int fd, ByteSpan bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = disk.write(fd, bytes.data(), bytes.size());
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

// The temporary file of one atomic write: removed again unless it has
// taken the target's name.
class TemporaryFile {
public:
    TemporaryFile(const std::filesystem::path& target, DiskCalls& disk)
        : disk_(disk), pattern_(temporaryPattern(target))
    {
        fd_ = native::createUniqueFile(pattern_);
        if (fd_ < 0)
            pattern_.clear();
    }
    ~TemporaryFile()
    {
        const int saved = errno;
        if (fd_ >= 0)
            native::closeFile(fd_);
        if (!pattern_.empty() && !renamed_)
            native::removeFile(pattern_);
        errno = saved;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return fd_ >= 0; }
    std::filesystem::path path() const { return pattern_; }
    bool takeModeOf(const std::filesystem::path& target) { return native::takeTargetMode(fd_, target); }

    bool write(ByteSpan bytes) { return writeEverything(disk_, fd_, bytes); }

    bool sync() { return disk_.fsync(fd_) == 0; }

    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return native::closeFile(fd) == 0;
    }

    bool renameTo(const std::filesystem::path& target)
    {
        renamed_ = disk_.rename(pattern_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    DiskCalls& disk_;
    native::PathString pattern_;
    int fd_ = -1;
    bool renamed_ = false;
};

} // namespace

Result<void> writeFileAtomically(const std::filesystem::path& target,
                                 const std::function<bool(const ByteSink&)>& produce, Durability durability,
                                 DiskCalls& disk)
{
    TemporaryFile temporary(target, disk);
    if (!temporary.opened())
        return systemError(ErrorCode::CannotOpen, target);

    if (!temporary.takeModeOf(target))
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
    const bool flush = durability == Durability::FlushEach || !native::kFileSystemFlush;
    if ((flush && !temporary.sync()) || !temporary.close())
        return systemError(ErrorCode::CannotWrite, target);
    if (!temporary.renameTo(target))
        return systemError(ErrorCode::CannotReplace, target);
    if (flush)
        native::flushFolderOf(target);
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

Result<void> writeNewFile(const std::filesystem::path& target, ByteSpan bytes, DiskCalls& disk)
{
    const int fd = native::createNewFile(target);
    if (fd < 0)
        return systemError(ErrorCode::CannotOpen, target);
    const bool written = writeEverything(disk, fd, bytes);
    // The first failure says why: a write's, else the close's.
    const int writeErrno = errno;
    const bool closed = native::closeFile(fd) == 0;
    if (written && closed)
        return {};
    const Error failed{ErrorCode::CannotWrite, target.string(), written ? errno : writeErrno};
    native::removeFile(target.native());
    return failed;
}

bool syncFileSystemOf(const std::filesystem::path& path, DiskCalls& disk)
{
    if (!native::kFileSystemFlush)
        return true; // each file was flushed as it was written
    const int fd = native::openForReading(path);
    if (fd < 0)
        return false;
    const bool synced = disk.syncfs(fd) == 0;
    native::closeFile(fd);
    return synced;
}

} // namespace larkspan
