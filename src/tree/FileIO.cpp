#include "tree/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace larkspan {

namespace {

FileError systemError(FileFailure failure, const std::filesystem::path& path)
{
    return {failure, path.string() + ": " + std::strerror(errno)};
}

bool writeAll(int fd, ByteSpan bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
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

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             const std::function<bool(const ByteSink&)>& produce)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return systemError(FileFailure::Open, target);
    const std::filesystem::path temporary = pattern;
    const auto abandon = [&](FileError error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return error;
    };

    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return abandon(systemError(FileFailure::Write, temporary));

    bool writeFailed = false;
    int writeErrno = 0;
    const bool finished = produce([&](ByteSpan piece) {
        if (!writeFailed && !writeAll(fd, piece)) {
            writeFailed = true;
            writeErrno = errno;
        }
    });
    if (!finished)
        return abandon({FileFailure::Aborted, target.string() + ": nothing written"});
    if (writeFailed) {
        errno = writeErrno;
        return abandon(systemError(FileFailure::Write, target));
    }
    if (::fsync(fd) != 0)
        return abandon(systemError(FileFailure::Write, target));
    if (::close(fd) != 0) {
        ::unlink(temporary.c_str());
        return systemError(FileFailure::Write, target);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const FileError error = systemError(FileFailure::Rename, target);
        ::unlink(temporary.c_str());
        return error;
    }
    return std::nullopt;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes)
{
    return writeFileAtomically(target, [bytes](const ByteSink& sink) {
        sink(bytes);
        return true;
    });
}

} // namespace larkspan
